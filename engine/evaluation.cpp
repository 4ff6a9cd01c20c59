#include "engine/evaluation.h"

#include "engine/driver_check.h"
#include "engine/graphics_rules.h"
#include "engine/machine_probe.h"
#include "engine/overall_verdicts.h"
#include "engine/system_rules.h"
#include "support/text.h"

void EvaluateFindings(CCheckReport& report, IMachineProbe& machine) {
    MachineFacts facts;
    machine.QueryOsCpuMemory(facts.caption, facts.addressWidth, facts.memoryBytes);
    facts.gibibytes = facts.memoryBytes / kBytesPerGibibyte;
    facts.bitWidth = BitWidth(facts.addressWidth, facts.addressWidth == 0 && machine.IsWow64());

    report.display_info.os = OsText(facts.caption, facts.bitWidth);
    report.display_info.memory = MemoryText(facts.gibibytes);

    const std::wstring brand = machine.CpuBrandString();
    report.display_info.cpu = brand;
    facts.cpuMatchName = AsciiUpper(brand);
    report.match_info.cpu = facts.cpuMatchName;

    ApplyProcessorRules(report, facts.cpuMatchName);
    ApplyGraphicsRules(report, facts.cpuMatchName);
    ApplyOsRule(report, facts.caption, facts.bitWidth);
    ApplyMemoryRule(report, facts.gibibytes);

    report.driver_flags = ComputeDriverFlags(report.display_info);

    if (machine.IsPortablePc())
        report.ApplyLaptopLists(report.gpu1_game, report.gpu1_video, report.gpu2_game,
                                report.gpu2_video);

    ApplyProcessorBlacklists(report, facts.cpuMatchName);
    ApplyAdapterBlacklists(report);

    ApplyOverallVerdicts(report);
    report.steamvr = SteamVrVerdict(machine);
}

#include "engine/system_rules.h"

#include "engine/name_rules.h"
#include "support/text.h"

int BitWidth(int addressWidth, bool isWow64) {
    if (addressWidth != 0)
        return addressWidth;
    return isWow64 ? 64 : 32;
}

std::wstring OsText(const std::wstring& caption, int bitWidth) {
    // The caption up to its first zero, as "%s" would print it.
    return std::wstring(caption.c_str()) + L"(" + std::to_wstring(bitWidth) + L")";
}

std::wstring MemoryText(int64_t gibibytes) {
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(gibibytes & 0xFFFFFFFF));
    return std::to_wstring(low) + L"GB";
}

void ApplyProcessorRules(CCheckReport& report, const std::wstring& cpuMatchName) {
    bool gameListed = false;
    for (const auto& entry : report.CPU_Game) {
        if (NameContains(cpuMatchName, entry)) {
            report.cpu_game = VERDICT_SUPPORTED;
            report.cpu_video = VERDICT_SUPPORTED;
            gameListed = true;
            break;
        }
    }
    if (!gameListed && report.cpu_game == VERDICT_UNDECIDED && IsCoreI3Name(cpuMatchName))
        report.cpu_game = VERDICT_UNSUPPORTED;
    if (report.cpu_video != VERDICT_SUPPORTED)
        MatchList(report.cpu_video, report.CPU_Video, cpuMatchName, VERDICT_SUPPORTED);
}

void ApplyOsRule(CCheckReport& report, const std::wstring& caption, int bitWidth) {
    // A listed system in its 32-bit edition is not enough for the headset.
    if (bitWidth != 64)
        return;
    const std::wstring upper = AsciiUpper(caption);
    for (const auto& entry : report.OS) {
        if (NameContains(upper, entry)) {
            report.os_support = VERDICT_SUPPORTED;
            return;
        }
    }
}

void ApplyMemoryRule(CCheckReport& report, int64_t gibibytes) {
    if (gibibytes >= 4)
        report.mem_support = VERDICT_SUPPORTED;
}

void ApplyProcessorBlacklists(CCheckReport& report, const std::wstring& cpuMatchName) {
    MatchList(report.cpu_game, report.CPU_Game_BlackList, cpuMatchName, VERDICT_UNSUPPORTED);
    MatchList(report.cpu_video, report.CPU_Video_BlackList, cpuMatchName, VERDICT_UNSUPPORTED);
}

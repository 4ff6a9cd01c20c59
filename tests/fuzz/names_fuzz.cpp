// Fuzz target: the name rules and the driver version over arbitrary texts,
// then a whole evaluation of a machine made of those texts.
//
// Input: lines separated by '\n', each byte one character (Latin-1, zeros
// kept): adapter 1, driver 1, adapter 2, driver 2, processor brand, and a
// comma-separated list used for every requirement list.
#include "engine/driver_check.h"
#include "engine/evaluation.h"
#include "engine/machine_probe.h"
#include "engine/name_rules.h"
#include "support/text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool IsVerdict(int v) {
    return v >= 0 && v <= 2;
}

std::vector<std::wstring> Split(const uint8_t* data, size_t size, wchar_t separator) {
    std::vector<std::wstring> parts(1);
    for (size_t i = 0; i < size; ++i) {
        const wchar_t c = static_cast<wchar_t>(data[i]);
        if (c == separator)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
}

class TextMachine : public IMachineProbe {
public:
    explicit TextMachine(std::wstring brand, bool flag) : m_brand(std::move(brand)), m_flag(flag) {}
    // The adapters are filled in the report directly, before the evaluation.
    std::vector<VideoControllerRow> VideoControllers() override { return {}; }
    void QueryOsCpuMemory(std::wstring& caption, int& width, int64_t& bytes) override {
        caption = m_brand;
        width = 0;
        bytes = static_cast<int64_t>(m_brand.size()) << 29;
    }
    bool IsWow64() override { return m_flag; }
    std::wstring CpuBrandString() override { return m_brand; }
    bool IsPortablePc() override { return m_flag; }
    bool FindStandaloneSteamVr() override { return false; }
    bool FindSteam() override { return m_flag; }
    bool IsSteamAppInstalled(const std::wstring&, bool) override { return !m_flag; }

private:
    std::wstring m_brand;
    bool m_flag;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::wstring> lines = Split(data, size, L'\n');
    lines.resize(6 > lines.size() ? 6 : lines.size());

    // The single-name rules must hold on any text, cut anywhere.
    const std::wstring& raw = lines[0];
    for (size_t cut = 0; cut <= raw.size(); ++cut) {
        const std::wstring name = raw.substr(0, cut);
        IsWeakIntelGraphics(name);
        IsLowEndGeForce(name);
        IsLowEndGamePattern(name);
        IsCoreI3Name(name);
        IsNvidiaName(name);
    }
    const int version = ToNvidiaVersion(lines[1]);
    (void)version;

    CCheckReport report;
    for (size_t slot = 0; slot < 2; ++slot) {
        const std::wstring& description = lines[slot * 2];
        if (description.empty())
            continue;
        const std::wstring upper = AsciiUpper(description + L" ");
        report.match_info.gpu[slot] = upper;
        report.display_info.gpu[slot] = description + L" ";
        report.display_info.dispdriver[slot] = lines[slot * 2 + 1];
        report.adapter_names.push_back(upper);
    }
    std::vector<std::wstring> entries;
    {
        const std::string list(lines[5].begin(), lines[5].end());
        const auto parts = Split(reinterpret_cast<const uint8_t*>(list.data()), list.size(), L',');
        for (const auto& p : parts)
            entries.push_back(AsciiUpper(p));
    }
    for (NameList* list :
         {&report.CPU_Game, &report.CPU_Video, &report.GPU_NV_Game, &report.GPU_NV_Video,
          &report.GPU_AMD_Game, &report.GPU_AMD_Video, &report.OS, &report.GPU_Game_Laptop,
          &report.GPU_Video_Laptop, &report.CPU_Game_BlackList, &report.CPU_Video_BlackList,
          &report.GPU_Game_BlackList, &report.GPU_Video_BlackList,
          &report.GPU_Game_BlackList_Exception, &report.GPU_Video_BlackList_Exception})
        *list = entries;

    TextMachine machine(lines[4], size % 2 == 0);
    EvaluateFindings(report, machine);
    for (int v : {report.cpu_game, report.cpu_video, report.gpu1_game, report.gpu1_video,
                  report.gpu2_game, report.gpu2_video, report.mem_support, report.os_support,
                  report.game_result, report.video_result})
        Check(IsVerdict(v));
    Check(report.steamvr == 1 || report.steamvr == 2);
    Check(report.driver_flags >= 0 && report.driver_flags <= 3);
    return 0;
}

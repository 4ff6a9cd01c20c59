// The real machine behind the evaluation seam: each question goes to its probe.
#include "engine/check_report.h"
#include "engine/machine_probe.h"
#include "probes/cpu_brand.h"
#include "probes/portable_pc.h"
#include "probes/steam_info.h"
#include "probes/video_probe.h"
#include "probes/wmi_helper.h"

#include <windows.h>

namespace {

// The question is the 32-bit product's: does a 64-bit Windows run it?
bool IsWow64Product() {
#ifdef _WIN64
    // Only a 64-bit Windows runs a 64-bit process; IsWow64Process would say
    // false here, the opposite of what the 32-bit product learns.
    return true;
#else
    // Preset to false: a failed call counts as a 32-bit Windows.
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

class RealMachine final : public IMachineProbe {
public:
    std::vector<VideoControllerRow> VideoControllers() override {
        return ReadVideoControllers(kAdapterSlots);
    }

    void QueryOsCpuMemory(std::wstring& caption, int& addressWidth, int64_t& memoryBytes) override {
        ::QueryOsCpuMemory(caption, addressWidth, memoryBytes);
    }

    bool IsWow64() override { return IsWow64Product(); }

    std::wstring CpuBrandString() override { return ReadCpuBrandString(); }

    bool IsPortablePc() override { return ::IsPortablePc(); }

    // SteamInfo keeps only what FindSteam found; a fresh record per question
    // answers the same as one record shared by the evaluation.
    bool FindStandaloneSteamVr() override { return SteamInfo().FindStandaloneSteamVr(); }
    bool FindSteam() override { return SteamInfo().FindSteam(); }

    bool IsSteamAppInstalled(const std::wstring& appId, bool requireNotUpdating) override {
        return ::IsSteamAppInstalled(appId, requireNotUpdating);
    }
};

} // namespace

IMachineProbe& RealMachineProbe() {
    static RealMachine machine;
    return machine;
}

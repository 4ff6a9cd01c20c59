// The seam between the evaluation and the machine: everything the rules need
// to know about this PC. The Windows build supplies the real probes; tests
// supply fixed answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One Win32_VideoController instance as read: a property that was missing,
// null or not a string is absent.
struct VideoControllerRow {
    std::optional<std::wstring> description;
    std::optional<std::wstring> driverVersion;
};

class IMachineProbe {
public:
    virtual ~IMachineProbe() = default;

    // The first two video controllers in WMI's order; empty when WMI cannot
    // be reached. Asked on a thread whose COM apartment, if any, is single
    // threaded.
    virtual std::vector<VideoControllerRow> VideoControllers() = 0;

    // Operating-system caption, processor address width, installed memory.
    virtual void QueryOsCpuMemory(std::wstring& caption, int& addressWidth,
                                  int64_t& memoryBytes) = 0;
    // True when this 32-bit process runs on a 64-bit Windows.
    virtual bool IsWow64() = 0;
    // The processor brand string, as the cpuid instruction gives it.
    virtual std::wstring CpuBrandString() = 0;
    virtual bool IsPortablePc() = 0;
    virtual bool FindStandaloneSteamVr() = 0;
    virtual bool FindSteam() = 0;
    virtual bool IsSteamAppInstalled(const std::wstring& appId, bool requireNotUpdating) = 0;
};

// The real machine (Windows build only).
IMachineProbe& RealMachineProbe();

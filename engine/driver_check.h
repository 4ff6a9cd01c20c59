// Decides, per graphics adapter, whether it is an NVIDIA adapter whose driver
// is too old for the headset.
#pragma once

#include <string>
#include <vector>

struct SystemInfoText;

enum DriverFlag {
    DRIVER_FLAG_GPU1_OUTDATED = 1,
    DRIVER_FLAG_GPU2_OUTDATED = 2,
};

// Vendor version 390.64 is the last one too old for the headset.
constexpr int NVIDIA_OUTDATED_MAX = 39064;

bool IsNvidiaName(const std::wstring& name);

// Converts a Windows driver version ("23.21.13.9135") to NVIDIA's own number
// (39135): last digit of the third part, then the fourth part as four digits.
int ToNvidiaVersion(const std::wstring& driverVersion);

int ComputeDriverFlags(const SystemInfoText& info);

#include "engine/driver_check.h"

#include "engine/check_report.h"
#include "support/text.h"

#include <climits>
#include <cstdint>

bool IsNvidiaName(const std::wstring& name) {
    return AsciiUpper(name).find(L"NVIDIA") != std::wstring::npos;
}

int ToNvidiaVersion(const std::wstring& driverVersion) {
    std::vector<std::wstring> pieces;
    SplitString(driverVersion, pieces, L".");
    if (pieces.size() < 2)
        return 0;
    const int digit = ReadLeadingInt(pieces[pieces.size() - 2].c_str()) % 10;
    const int build = ReadLeadingInt(pieces.back().c_str());
    // A huge last piece must not overflow: compute wide, then clamp.
    const int64_t number = int64_t(build) + int64_t(digit) * 10000;
    if (number > INT_MAX)
        return INT_MAX;
    if (number < INT_MIN)
        return INT_MIN;
    return static_cast<int>(number);
}

static bool IsOutdatedNvidia(const std::wstring& name, const std::wstring& driver) {
    if (!IsNvidiaName(name))
        return false;
    const int version = ToNvidiaVersion(driver);
    return version >= 1 && version <= NVIDIA_OUTDATED_MAX;
}

int ComputeDriverFlags(const SystemInfoText& info) {
    int flags = 0;
    if (IsOutdatedNvidia(info.gpu[0], info.dispdriver[0]))
        flags |= DRIVER_FLAG_GPU1_OUTDATED;
    if (IsOutdatedNvidia(info.gpu[1], info.dispdriver[1]))
        flags |= DRIVER_FLAG_GPU2_OUTDATED;
    return flags;
}

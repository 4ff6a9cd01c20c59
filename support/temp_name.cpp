#include "support/temp_name.h"

std::wstring TempNameFor(const std::wstring& target,
                         const uint8_t (&random)[kTempNameRandomBytes]) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring name = target + L".";
    for (uint8_t byte : random) {
        name.push_back(kHex[byte >> 4]);
        name.push_back(kHex[byte & 0x0F]);
    }
    return name + L".tmp";
}

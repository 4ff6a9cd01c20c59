#include "probes/hardware_id.h"

std::wstring FirstHardwareId(const wchar_t* list, size_t chars) {
    if (list == nullptr)
        return std::wstring();
    size_t length = 0;
    while (length < chars && list[length] != L'\0')
        ++length;
    return std::wstring(list, length);
}

bool IsAcAdapterHardwareId(const std::wstring& id) {
    static const wchar_t* const kAcAdapterIds[] = {
        L"*ACPI0003\\",
        L"ACPI\\ACPI0003",
        L"ACPI\\VEN_ACPI&DEV_0003",
    };
    for (const wchar_t* known : kAcAdapterIds)
        if (id == known)
            return true;
    return false;
}

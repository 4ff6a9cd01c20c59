// The comparison half of portable-PC detection: is a device's first hardware
// identifier the ACPI AC adapter (ACPI0003)?
#pragma once

#include <cstddef>
#include <string>

// The first identifier of a SPDRP_HARDWAREID list: the text up to the first
// zero character, but never past `chars` characters, so that a list without
// its terminator is not read beyond what was delivered.
std::wstring FirstHardwareId(const wchar_t* list, size_t chars);

// True when the identifier is exactly one of the three forms the AC adapter
// is reported under ("*ACPI0003\", "ACPI\ACPI0003", "ACPI\VEN_ACPI&DEV_0003").
// Case-sensitive: Windows reports these in this spelling.
bool IsAcAdapterHardwareId(const std::wstring& id);

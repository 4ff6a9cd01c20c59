// Reading one registry value (Windows).
#pragma once

#include <windows.h>

#include <string>

// Reads a REG_DWORD value from a key opened read-only. False when the key
// cannot be opened (a missing one included), the value is missing, or it has
// another type. `view` may add KEY_WOW64_32KEY or KEY_WOW64_64KEY.
bool ReadRegistryDword(HKEY root, const std::wstring& subKey, const wchar_t* valueName,
                       DWORD& value, REGSAM view = 0);

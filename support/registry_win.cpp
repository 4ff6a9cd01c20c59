#include "support/registry_win.h"

#include "support/win_handles.h"

bool ReadRegistryDword(HKEY root, const std::wstring& subKey, const wchar_t* valueName,
                       DWORD& value, REGSAM view) {
    RegKeyOwner key;
    // Opened for reading only: a missing key counts as a missing value, and
    // nothing is left behind in the registry.
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    value = data;
    return true;
}

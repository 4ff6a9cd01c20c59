#include "support/system_library_win.h"

#include <string>

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    HMODULE module = LoadLibraryExW(fileName, nullptr, SEARCH_SYSTEM32_ONLY);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Windows 7 without KB2533623 does not know the flag: name System32
        // itself.
        // https://learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-loadlibraryexw
        wchar_t system[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            module = LoadLibraryW((std::wstring(system) + L"\\" + fileName).c_str());
    }
    return module;
}

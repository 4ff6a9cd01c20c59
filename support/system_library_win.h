// Loading a system DLL from System32 only.
#pragma once

#include <windows.h>

// LOAD_LIBRARY_SEARCH_SYSTEM32, not declared for _WIN32_WINNT 0x0601.
constexpr DWORD SEARCH_SYSTEM32_ONLY = 0x00000800;

// Loads a DLL of Windows' own, by file name, from System32 and nowhere else:
// never from the exe's folder, which is often a download folder where anyone
// may plant a DLL of that name. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

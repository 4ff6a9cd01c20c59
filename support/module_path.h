// The path of a loaded module, read in full (Windows).
#pragma once

#include <windows.h>

#include <string>

// The full path of the module (null: the executable), however long it is;
// empty when Windows cannot give it. An empty result must never be turned
// into a path relative to the current directory or drive.
std::wstring ReadModulePath(HMODULE module = nullptr);

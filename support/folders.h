// Creation of the program's folders below the machine-wide application-data
// folder (Windows).
#pragma once

#include <string>

// The longest folder path this operation accepts; a longer one is refused,
// not cut.
constexpr size_t kMaxFolderPath = 255;

// Creates the folder and every missing parent, outermost first. Returns true
// when something exists at the path afterwards (a file of that name counts),
// false otherwise. Both "\" and "/" separate; a trailing separator is
// allowed. A path without a drive letter is taken relative to the current
// directory. Parents created before a failure are left in place. Every
// folder it creates gets the protected rights of folder_security.h.
bool CreateFolderPath(const std::wstring& path);

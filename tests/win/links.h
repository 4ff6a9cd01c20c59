// Links planted by tests where the program keeps its files (Windows and Wine).
#pragma once

#include <string>

// True under Wine.
bool RunningUnderWine();

// Makes `link` a symbolic link to `target` (both Windows paths; the target
// need not exist). Under Wine a Unix symbolic link, made with ln: Wine shows
// one to a folder as a directory with FILE_ATTRIBUTE_REPARSE_POINT and
// follows every kind when opening. On Windows a junction for a folder and a
// symbolic link for a file (which needs the right to make one). False when
// the link could not be made; the test should then skip.
bool PlantLink(const std::wstring& target, const std::wstring& link, bool folder);

// Removes a link made by PlantLink, never what it points at.
void RemoveLink(const std::wstring& link, bool folder);

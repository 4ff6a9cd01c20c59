// Paths longer than the classic 260-character limit. Portable.
#pragma once

#include <string>

// The classic Windows path limit, terminating zero included.
constexpr size_t kClassicPathChars = 260;

// Windows' file functions refuse a path of kClassicPathChars characters or
// more unless it carries the "\\?\" prefix, which also turns off their
// relative-path and "." / ".." processing. A drive path ("C:\...") gets
// "\\?\", a UNC path ("\\server\...") gets "\\?\UNC\"; shorter paths, paths
// that already carry a prefix and anything else (relative paths, which must
// never be resolved against some current directory here) are returned as
// they are.
std::wstring ExtendedLengthPath(const std::wstring& path);

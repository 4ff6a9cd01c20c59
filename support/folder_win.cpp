#include "support/folders.h"

#include "support/folder_security.h"

#include <windows.h>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool HasDriveLetter(const std::wstring& path) {
    return path.size() >= 2 && path[1] == L':';
}

std::wstring CurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0)
        return {};
    std::wstring dir(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, &dir[0]);
    if (length == 0 || length >= size)
        return {};
    dir.resize(length);
    return dir;
}

// The parent keeps its trailing separator: C:\A\B and C:\A\B\ both give
// C:\A\, and C:\A gives C:\. Empty when there is no separator before the
// last character.
std::wstring ParentOf(std::wstring path) {
    if (!path.empty() && IsSeparator(path.back()))
        path.pop_back();
    if (path.size() < 2)
        return {};
    for (size_t i = path.size() - 1; i-- > 0;) {
        if (IsSeparator(path[i]))
            return path.substr(0, i + 1);
    }
    return {};
}

} // namespace

bool CreateFolderPath(const std::wstring& path) {
    if (Exists(path))
        return true;
    if (path.size() > kMaxFolderPath)
        return false;

    if (!HasDriveLetter(path)) {
        const std::wstring cwd = CurrentDirectory();
        const std::wstring joined = cwd + L"\\" + path;
        // A current directory without a drive letter (a network share) would
        // make the joined path relative again and recurse without end.
        if (cwd.empty() || !HasDriveLetter(joined) || joined.size() > kMaxFolderPath)
            return false;
        return CreateFolderPath(joined);
    }

    if (path.find_first_of(L"\\/") == std::wstring::npos)
        return false; // C:A names a folder relative to drive C's own current directory

    const std::wstring parent = ParentOf(path);
    if (parent.empty() || !CreateFolderPath(parent))
        return false;
    ProgramFolderSecurity security;
    return security.attributes() != nullptr &&
           CreateDirectoryW(path.c_str(), security.attributes()) != FALSE;
}

#include "probes/drive_root.h"

namespace {

// The literal prefix of a long path: no normalisation, backslashes only.
const wchar_t kLongPathPrefix[] = L"\\\\?\\";
constexpr size_t kLongPathPrefixChars = sizeof(kLongPathPrefix) / sizeof(wchar_t) - 1;

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// "X:" and a separator at `at`. A drive-relative "X:folder" does not count:
// it goes on from whatever that drive's current folder is.
bool DriveAt(const std::wstring& path, size_t at, bool forwardSlash) {
    return path.size() > at + 2 && IsAsciiLetter(path[at]) && path[at + 1] == L':' &&
           (path[at + 2] == L'\\' || (forwardSlash && path[at + 2] == L'/'));
}

} // namespace

std::optional<std::wstring> DriveLetterRoot(const std::wstring& path) {
    size_t at = 0;
    bool forwardSlash = true;
    if (path.compare(0, kLongPathPrefixChars, kLongPathPrefix) == 0) {
        at = kLongPathPrefixChars;
        forwardSlash = false;
    }
    if (!DriveAt(path, at, forwardSlash))
        return std::nullopt;
    return path.substr(at, 2) + L"\\";
}

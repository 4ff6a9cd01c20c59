#include "support/guarded_path.h"

#include "support/text.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
    while (!path.empty() && IsSeparator(path.back()))
        path.pop_back();
    return path;
}

std::wstring Backslashes(std::wstring path) {
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

// "\\?\C:\x" -> "C:\x", "\\?\UNC\s\x" -> "\\s\x", separators as backslashes and
// without trailing ones.
std::wstring WithoutLongPrefix(const std::wstring& path) {
    static const std::wstring kUnc = L"\\\\?\\UNC\\";
    static const std::wstring kLocal = L"\\\\?\\";
    std::wstring plain = Backslashes(path);
    if (AsciiUpper(plain.substr(0, kUnc.size())) == kUnc)
        plain = L"\\\\" + plain.substr(kUnc.size());
    else if (plain.compare(0, kLocal.size(), kLocal) == 0)
        plain = plain.substr(kLocal.size());
    return WithoutTrailingSeparators(plain);
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

} // namespace

std::wstring GuardedPath::FolderAt(size_t depth) const {
    // A bare drive ("C:") would name that drive's current directory.
    std::wstring path = root.size() == 2 && root[1] == L':' ? root + L"\\" : root;
    for (size_t i = 0; i < depth && i < folders.size(); ++i)
        path = Join(path, folders[i]);
    return path;
}

std::wstring GuardedPath::InFolder(const std::wstring& name) const {
    return Join(Folder(), name);
}

bool GuardedPathUnder(const std::wstring& root, const std::wstring& path, GuardedPath& out) {
    const std::wstring base = WithoutTrailingSeparators(Backslashes(root));
    const std::wstring full = Backslashes(path);
    if (base.empty() || full.size() <= base.size() + 1 ||
        AsciiUpper(full.substr(0, base.size())) != AsciiUpper(base) || full[base.size()] != L'\\')
        return false;

    std::vector<std::wstring> parts;
    size_t start = base.size() + 1;
    for (;;) {
        const size_t end = full.find(L'\\', start);
        const std::wstring part = full.substr(start, end == std::wstring::npos ? end : end - start);
        if (part.empty() || part == L"." || part == L"..")
            return false;
        parts.push_back(part);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    out.root = base;
    out.file = parts.back();
    parts.pop_back();
    out.folders = parts;
    return true;
}

bool GuardedPathFromVolumeRoot(const std::wstring& path, GuardedPath& out) {
    const std::wstring plain = WithoutLongPrefix(path);
    if (plain.size() > 3 && plain[1] == L':' && plain[2] == L'\\' && IsAsciiLetter(plain[0]))
        return GuardedPathUnder(plain.substr(0, 2), plain, out);
    if (plain.compare(0, 2, L"\\\\") != 0)
        return false;
    // \\server\share: the share is the volume; neither part may be empty.
    const size_t server = plain.find(L'\\', 2);
    const size_t share = server == std::wstring::npos ? server : plain.find(L'\\', server + 1);
    if (server == std::wstring::npos || server == 2 || share == std::wstring::npos ||
        share == server + 1)
        return false;
    const std::wstring host = plain.substr(2, server - 2);
    if (host == L"." || host == L"?")
        return false;
    return GuardedPathUnder(plain.substr(0, share), plain, out);
}

bool FolderMayBeUsed(const ObjectFacts& facts) {
    return facts.opened && facts.directory && !facts.reparsePoint && facts.whereExpected;
}

bool FileMayBeUsed(const ObjectFacts& facts) {
    return facts.opened && !facts.directory && !facts.reparsePoint && facts.links == 1 &&
           facts.whereExpected;
}

bool SameFinalPath(const std::wstring& expected, const std::wstring& final) {
    const std::wstring wanted = WithoutLongPrefix(expected);
    return !wanted.empty() && AsciiUpper(WithoutLongPrefix(final)) == AsciiUpper(wanted);
}

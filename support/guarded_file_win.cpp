#include "support/guarded_file.h"

#include "support/files_win.h"
#include "support/folder_chain.h"

#include <shlobj.h>

bool CreateGuardedFolders(const GuardedPath& path) {
    FolderChain chain;
    return chain.Open(path, true);
}

HandleOwner OpenGuardedForAppend(const GuardedPath& path) {
    FolderChain chain;
    if (!chain.Open(path, true))
        return HandleOwner();
    // Once open, writes go to this file whatever happens to the folders.
    return chain.OpenFile(path.file, GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, FileOpen::ExistingOrNew);
}

bool ReadGuardedFile(const GuardedPath& path, std::string& bytes, unsigned long long maxBytes) {
    bytes.clear();
    FolderChain chain;
    if (!chain.Open(path, false))
        return false;
    // No write sharing: a half-written file is not read.
    const HandleOwner file =
        chain.OpenFile(path.file, GENERIC_READ, FILE_SHARE_READ, FileOpen::Existing);
    return file && ReadOpenFile(file.get(), bytes, maxBytes);
}

GuardedPath GuardedPathFor(const std::wstring& path) {
    GuardedPath guarded;
    wchar_t common[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common)) &&
        GuardedPathUnder(common, path, guarded))
        return guarded;
    const size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0 &&
        GuardedPathUnder(path.substr(0, slash), path, guarded))
        return guarded;
    return GuardedPath(); // names nothing: every check fails
}

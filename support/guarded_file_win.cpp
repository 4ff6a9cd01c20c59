#include "support/guarded_file.h"

#include "support/files_win.h"
#include "support/folder_chain.h"
#include "support/long_path.h"
#include "support/nt_file_win.h"
#include "support/temp_file.h"

#include <shlobj.h>

namespace {

DWORD WriteAndCommit(TempFile& temp, const std::string& bytes) {
    const DWORD written = temp.Write(bytes);
    return written != ERROR_SUCCESS ? written : temp.Commit();
}

DWORD ReplaceInChain(const FolderChain& chain, const std::wstring& name, const std::string& bytes) {
    TempFile temp;
    const DWORD created = temp.Create(chain, name);
    return created != ERROR_SUCCESS ? created : WriteAndCommit(temp, bytes);
}

} // namespace

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

bool ReadGuardedFile(const GuardedPath& path, std::string& bytes, unsigned long long maxBytes,
                     DWORD share) {
    bytes.clear();
    FolderChain chain;
    if (!chain.Open(path, false))
        return false;
    const HandleOwner file = chain.OpenFile(path.file, GENERIC_READ, share, FileOpen::Existing);
    return file && ReadOpenFile(file.get(), bytes, maxBytes);
}

DWORD ReplaceGuardedFile(const GuardedPath& path, const std::string& bytes) {
    FolderChain chain;
    if (!chain.Open(path, true))
        return ERROR_CANT_ACCESS_FILE;
    // The rename would replace a link rather than write through it, but a
    // planted target says the folder is not ours alone: leave it be.
    {
        const HandleOwner existing =
            chain.OpenFile(path.file, FILE_READ_ATTRIBUTES, kShareAll, FileOpen::Existing);
        if (!existing && (GetLastError() != ERROR_FILE_NOT_FOUND || !chain.NameIsFree(path.file)))
            return ERROR_CANT_ACCESS_FILE;
    }
    return ReplaceInChain(chain, path.file, bytes);
}

std::wstring FullPathOf(const std::wstring& path) {
    const std::wstring extended = ExtendedLengthPath(path);
    const DWORD size = GetFullPathNameW(extended.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return std::wstring();
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(extended.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size)
        return std::wstring();
    full.resize(length);
    return full;
}

DWORD ReplaceFileContents(const std::wstring& path, const std::string& bytes) {
    // The temporary file must live in the same folder: a move across volumes
    // would turn into a copy, which is not atomic.
    const std::wstring target = FullPathOf(path);
    if (target.empty())
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_NAME;
    TempFile temp;
    const DWORD created = temp.Create(target);
    return created != ERROR_SUCCESS ? created : WriteAndCommit(temp, bytes);
}

DWORD ReplaceCheckedFromVolumeRoot(const std::wstring& path, const std::string& bytes) {
    const std::wstring target = FullPathOf(path);
    GuardedPath guarded;
    if (target.empty() || !GuardedPathFromVolumeRoot(target, guarded))
        return ERROR_CANT_ACCESS_FILE;
    FolderChain chain;
    if (!chain.Open(guarded, false))
        return GetLastError();
    return ReplaceInChain(chain, guarded.file, bytes);
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

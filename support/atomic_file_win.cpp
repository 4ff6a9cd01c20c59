#include "support/atomic_file.h"

#include "support/folder_chain.h"
#include "support/long_path.h"
#include "support/temp_file.h"

namespace {

std::wstring FullPath(const std::wstring& path) {
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

DWORD WriteAndCommit(TempFile& temp, const std::wstring& target, const std::string& bytes) {
    const DWORD written = temp.Write(bytes);
    return written != ERROR_SUCCESS ? written : temp.CommitAs(target);
}

} // namespace

DWORD ReplaceFileContents(const std::wstring& path, const std::string& bytes) {
    // The temporary file must live in the same folder: a move across volumes
    // would turn into a copy, which is not atomic.
    const std::wstring target = FullPath(path);
    if (target.empty())
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_NAME;
    TempFile temp;
    const DWORD created = temp.Create(target);
    return created != ERROR_SUCCESS ? created : WriteAndCommit(temp, target, bytes);
}

DWORD ReplaceGuardedFile(const GuardedPath& path, const std::string& bytes) {
    FolderChain chain;
    if (!chain.Open(path, true))
        return ERROR_CANT_ACCESS_FILE;
    // The rename would replace a link rather than write through it, but a
    // planted target says the folder is not ours alone: leave it be.
    {
        const HandleOwner existing = chain.OpenFile(
            path.file, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            FileOpen::Existing);
        if (!existing && (GetLastError() != ERROR_FILE_NOT_FOUND || !chain.NameIsFree(path.file)))
            return ERROR_CANT_ACCESS_FILE;
    }
    TempFile temp;
    const DWORD created = temp.Create(chain, path.file);
    return created != ERROR_SUCCESS ? created : WriteAndCommit(temp, path.Full(), bytes);
}

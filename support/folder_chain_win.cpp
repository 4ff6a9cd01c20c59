#include "support/folder_chain.h"

#include "support/folder_security.h"
#include "support/long_path.h"

namespace {

// Held folders may be opened by anyone except for deletion, which a rename or
// a removal needs. Write sharing stays allowed: a rename into the folder
// opens it for writing. (Turning an empty held folder into a junction is
// still possible; what is then created or opened in it ends up elsewhere,
// which the check of every file after it is opened catches.)
constexpr DWORD kFolderSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kFolderAccess = FILE_READ_ATTRIBUTES | SYNCHRONIZE;
// Never follow a link: open the link itself, so that its attributes show it.
constexpr DWORD kNoFollow = FILE_FLAG_OPEN_REPARSE_POINT;

HandleOwner OpenFolder(const std::wstring& path) {
    return HandleOwner(CreateFileW(ExtendedLengthPath(path).c_str(), kFolderAccess, kFolderSharing,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | kNoFollow,
                                   nullptr));
}

HandleOwner CreateFileNoFollow(const std::wstring& path, DWORD access, DWORD share,
                               DWORD disposition) {
    return HandleOwner(CreateFileW(ExtendedLengthPath(path).c_str(), access, share, nullptr,
                                   disposition, FILE_ATTRIBUTE_NORMAL | kNoFollow, nullptr));
}

std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, &path[0], static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.assign(length + 1, L'\0'); // too small: length is the size needed
    }
    return std::wstring();
}

// Creates a file with CREATE_NEW (with DELETE access added) and checks it. One
// that fails the check is deleted through its handle: it landed somewhere
// else. Empty owner on failure, ERROR_CANT_ACCESS_FILE for a failed check.
HandleOwner CreateNewChecked(const std::wstring& path, DWORD access, DWORD share) {
    HandleOwner made = CreateFileNoFollow(path, access | DELETE, share, CREATE_NEW);
    if (made && !FileMayBeUsed(FactsOf(made.get(), path))) {
        DeleteThroughHandle(made.get());
        made.reset();
        SetLastError(ERROR_CANT_ACCESS_FILE);
    }
    return made;
}

} // namespace

ObjectFacts FactsOf(HANDLE handle, const std::wstring& path) {
    ObjectFacts facts;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !GetFileInformationByHandle(handle, &info))
        return facts;
    facts.opened = true;
    facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.links = info.nNumberOfLinks;
    // The handle shows a junction opened without following it. The name is
    // asked as well: Wine follows Unix symbolic links even then, and shows
    // them only in the attributes of the name.
    const DWORD byName = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    facts.reparsePoint = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
                         byName == INVALID_FILE_ATTRIBUTES ||
                         (byName & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    // Where the handle really leads: a link anywhere on the way, which Wine
    // does not show as one for files, ends somewhere else.
    facts.whereExpected = SameFinalPath(path, FinalPath(handle));
    return facts;
}

bool DeleteThroughHandle(HANDLE file) {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

bool FolderChain::Open(const GuardedPath& path, bool createMissing) {
    m_folders.clear();
    m_path = path;
    ProgramFolderSecurity security;
    for (size_t depth = 0; depth <= path.folders.size(); ++depth) {
        const std::wstring folder = path.FolderAt(depth);
        HandleOwner handle = OpenFolder(folder);
        // The root is never created: it is Windows' own folder.
        if (!handle && GetLastError() == ERROR_FILE_NOT_FOUND && createMissing && depth > 0) {
            // The parent is checked and held: the new folder lands in it.
            if (security.attributes() != nullptr &&
                (CreateDirectoryW(ExtendedLengthPath(folder).c_str(), security.attributes()) ||
                 GetLastError() == ERROR_ALREADY_EXISTS))
                handle = OpenFolder(folder);
        }
        if (!handle || !FolderMayBeUsed(FactsOf(handle.get(), folder))) {
            m_folders.clear();
            return false;
        }
        m_folders.push_back(std::move(handle));
    }
    return true;
}

HandleOwner FolderChain::OpenFile(const std::wstring& name, DWORD access, DWORD share,
                                  FileOpen how) const {
    if (m_folders.size() != m_path.folders.size() + 1) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return HandleOwner();
    }
    const std::wstring path = m_path.InFolder(name);
    if (how == FileOpen::New)
        return CreateNewChecked(path, access, share);
    HandleOwner file = CreateFileNoFollow(path, access, share, OPEN_EXISTING);
    if (!file && how == FileOpen::ExistingOrNew && GetLastError() == ERROR_FILE_NOT_FOUND) {
        // Made with CREATE_NEW, which fails on any name that exists, a
        // dangling link included (OPEN_ALWAYS would create a link's target),
        // then opened like any existing file. The handle that made it holds
        // DELETE, to remove it should it have landed elsewhere; kept open it
        // would keep other runs from sharing the file.
        constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        HandleOwner made = CreateNewChecked(path, FILE_READ_ATTRIBUTES, kShareAll);
        if (!made && GetLastError() != ERROR_FILE_EXISTS)
            return HandleOwner();
        made.reset();
        file = CreateFileNoFollow(path, access, share, OPEN_EXISTING);
    }
    if (file && !FileMayBeUsed(FactsOf(file.get(), path))) {
        file.reset();
        SetLastError(ERROR_CANT_ACCESS_FILE);
    }
    return file;
}

bool FolderChain::NameIsFree(const std::wstring& name) const {
    if (m_folders.size() != m_path.folders.size() + 1)
        return false;
    // CREATE_NEW fails on any name that exists and follows no link; the
    // probe removes itself when it closes.
    const HandleOwner probe(CreateFileW(ExtendedLengthPath(m_path.InFolder(name)).c_str(), DELETE,
                                        0, nullptr, CREATE_NEW,
                                        FILE_FLAG_DELETE_ON_CLOSE | kNoFollow, nullptr));
    return static_cast<bool>(probe);
}

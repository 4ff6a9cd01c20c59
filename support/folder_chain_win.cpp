#include "support/folder_chain.h"

#include "support/folder_security.h"
#include "support/nt_file_win.h"

namespace {

// Held folders may be opened by anyone except for deletion, which a rename or
// a removal needs. Write sharing stays allowed: a rename into the folder
// opens it for writing.
constexpr DWORD kFolderSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
// Enough to check a folder, list it and open names inside it.
constexpr DWORD kFolderAccess = FILE_READ_ATTRIBUTES | FILE_TRAVERSE | FILE_LIST_DIRECTORY;
// A folder this run creates: its handle also makes the folder's children and
// files, whatever the new folder's own list lets its user do later, and can
// remove the folder again.
constexpr DWORD kCreatorAccess = kFolderAccess | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | DELETE;

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

std::wstring LastComponent(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

NtOpenRequest FolderRequest(HANDLE parent, const std::wstring& name) {
    NtOpenRequest request;
    request.folder = parent;
    request.name = name;
    request.access = kFolderAccess;
    request.share = kFolderSharing;
    request.kind = NtKind::Folder;
    return request;
}

} // namespace

ObjectFacts FactsOf(HANDLE handle, const std::wstring& path, HANDLE parent) {
    ObjectFacts facts;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !GetFileInformationByHandle(handle, &info))
        return facts;
    facts.opened = true;
    facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.links = info.nNumberOfLinks;
    // The handle shows a junction opened without following it. Inside a held
    // folder its entry is asked as well: Wine follows Unix symbolic links
    // even then, and shows them only there. The root has no held parent, and
    // asking its name would not do: Wine shows the Z: drive's root as a
    // link; a link in place of the root shows in its final path below.
    const DWORD entry = parent != nullptr ? EntryAttributes(parent, LastComponent(path)) : 0;
    facts.reparsePoint = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
                         entry == INVALID_FILE_ATTRIBUTES ||
                         (entry & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    // Where the handle really leads: a link anywhere on the way, which Wine
    // does not show as one for files, ends somewhere else.
    facts.whereExpected = SameFinalPath(path, FinalPath(handle));
    return facts;
}

bool DeleteThroughHandle(HANDLE file) {
    return SetDeleteOnClose(file, true);
}

FolderChain::~FolderChain() = default;

void FolderChain::Close() {
    // Deepest first: a folder goes only once the one inside it has gone.
    while (!m_folders.empty()) {
        if (m_created.back())
            DeleteThroughHandle(m_folders.back().get());
        m_folders.pop_back();
        m_created.pop_back();
    }
}

bool FolderChain::Fail(bool failedCheck) {
    // A folder that is not there is a path not found, as for any open by
    // name; one that is there but may not be used says so.
    DWORD error = failedCheck ? ERROR_CANT_ACCESS_FILE : GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_SUCCESS)
        error = ERROR_PATH_NOT_FOUND;
    Close();
    SetLastError(error);
    return false;
}

bool FolderChain::Open(const GuardedPath& path, bool createMissing) {
    Close();
    m_path = path;
    // The root is never created: it is Windows' own folder.
    const std::wstring root = path.FolderAt(0);
    HandleOwner handle =
        CreateFileNoImpersonation(root, kFolderAccess, kFolderSharing, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
    if (!handle || !FolderMayBeUsed(FactsOf(handle.get(), root)))
        return Fail(static_cast<bool>(handle));
    m_folders.push_back(std::move(handle));
    m_created.push_back(false);

    ProgramFolderSecurity security;
    for (size_t depth = 1; depth <= path.folders.size(); ++depth) {
        const HANDLE parent = m_folders.back().get();
        NtOpenRequest request = FolderRequest(parent, path.folders[depth - 1]);
        handle = NtOpenIn(request);
        bool created = false;
        if (!handle && GetLastError() == ERROR_FILE_NOT_FOUND && createMissing &&
            security.attributes() != nullptr) {
            request.disposition = NtDisposition::CreateNew;
            request.access = kCreatorAccess;
            request.security = security.attributes()->lpSecurityDescriptor;
            handle = NtOpenIn(request);
            created = static_cast<bool>(handle);
            if (!handle && GetLastError() == ERROR_FILE_EXISTS) // another run was first
                handle = NtOpenIn(FolderRequest(parent, path.folders[depth - 1]));
        }
        const bool usable =
            handle && FolderMayBeUsed(FactsOf(handle.get(), path.FolderAt(depth), parent));
        if (handle) {
            m_folders.push_back(std::move(handle));
            m_created.push_back(created);
        }
        if (!usable) {
            // A link that cannot even be opened as a folder (Wine refuses to
            // open a Unix symbolic link itself as one) is a failed check too.
            const DWORD error = GetLastError();
            const DWORD entry = handle ? 0 : EntryAttributes(parent, path.folders[depth - 1]);
            const bool link =
                entry != INVALID_FILE_ATTRIBUTES && (entry & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            SetLastError(error);
            return Fail(handle || link);
        }
    }
    return true;
}

bool FolderChain::OpenFollowing(const std::wstring& folder) {
    Close();
    HandleOwner handle = CreateFileNoImpersonation(folder, kFolderAccess, kFolderSharing,
                                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!handle || !GetFileInformationByHandle(handle.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // Named by where it really is, so that what is made in it is checked
    // against that place.
    m_path = GuardedPath{FinalPath(handle.get()), {}, L""};
    if (m_path.root.empty())
        return false;
    m_folders.push_back(std::move(handle));
    m_created.push_back(false);
    return true;
}

HandleOwner FolderChain::OpenFile(const std::wstring& name, DWORD access, DWORD share,
                                  FileOpen how) const {
    if (folder() == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return HandleOwner();
    }
    NtOpenRequest request;
    request.folder = folder();
    request.name = name;
    request.access = access;
    request.share = share;
    if (how == FileOpen::New)
        return CreateChecked(request);
    HandleOwner file = NtOpenIn(request);
    if (!file && how == FileOpen::ExistingOrNew && GetLastError() == ERROR_FILE_NOT_FOUND) {
        // Made, checked and closed, then opened like any existing file: the
        // handle that made it holds DELETE, which kept open would keep other
        // runs from sharing the file.
        NtOpenRequest make = request;
        make.access = FILE_READ_ATTRIBUTES;
        make.share = kShareAll;
        HandleOwner made = CreateChecked(make);
        if (!made && GetLastError() != ERROR_FILE_EXISTS) // another run may have been first
            return HandleOwner();
        made.reset();
        file = NtOpenIn(request);
    }
    if (file && !FileMayBeUsed(FactsOf(file.get(), PathOf(name), folder()))) {
        file.reset();
        SetLastError(ERROR_CANT_ACCESS_FILE);
    }
    return file;
}

HandleOwner FolderChain::CreateChecked(NtOpenRequest request) const {
    // FILE_CREATE fails on any name that exists, a dangling link included
    // (FILE_OPEN_IF would create a link's target). DELETE lets a file that
    // landed elsewhere be removed again.
    request.disposition = NtDisposition::CreateNew;
    request.access |= DELETE;
    HandleOwner made = NtOpenIn(request);
    if (made && !FileMayBeUsed(FactsOf(made.get(), PathOf(request.name), folder()))) {
        DeleteThroughHandle(made.get());
        made.reset();
        SetLastError(ERROR_CANT_ACCESS_FILE);
    }
    return made;
}

bool FolderChain::NameIsFree(const std::wstring& name) const {
    if (folder() == nullptr)
        return false;
    // Creation fails on any name that exists and follows no link; the probe
    // removes itself when it closes.
    NtOpenRequest request;
    request.folder = folder();
    request.name = name;
    request.access = DELETE;
    request.share = kShareAll;
    request.disposition = NtDisposition::CreateNew;
    const HandleOwner probe = NtOpenIn(request);
    return probe && DeleteThroughHandle(probe.get());
}

// The folders of a GuardedPath, opened and checked one by one from the root
// down, for any run that is about to read or write below them (Windows).
//
// The root is opened by name; every folder below it is opened, or created,
// by its bare name inside its parent's handle (nt_file_win.h), without
// following a link. Each is checked (a real folder, no junction or symbolic
// link, and where its path says) and held open for the lifetime of the chain
// without delete sharing, so Windows refuses to rename or delete any of them.
// Files are then opened, created and renamed inside the last folder's handle
// and checked again through their own handles. Nothing is looked up by name
// after a check: by then the name could lead somewhere else.
#pragma once

#include "support/guarded_path.h"
#include "support/nt_file_win.h"
#include "support/win_handles.h"

#include <string>
#include <vector>

enum class FileOpen {
    Existing,      // the file must exist
    ExistingOrNew, // opened, or created when missing (never through a link)
    New,           // created; fails when anything has that name
};

class FolderChain {
public:
    FolderChain() = default;
    ~FolderChain();
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;

    // Opens and checks the root and every folder below it. With
    // createMissing, a missing folder is created inside its checked parent's
    // handle with the program folders' rights (folder_security.h), and its
    // children through the handle that created it. False, holding nothing,
    // when a folder is missing (and not created), is a link or a file, or is
    // not where its path says; folders this call created are then removed
    // through their handles. GetLastError then gives ERROR_CANT_ACCESS_FILE
    // for a failed check, or why a folder could not be opened or made.
    bool Open(const GuardedPath& path, bool createMissing);

    // Opens one existing folder by its full path as the caller's own rights
    // allow, links followed: a place the caller chose for a file of his own.
    // Files in it are still created and renamed through its handle.
    bool OpenFollowing(const std::wstring& folder);

    // Opens a file in the last folder without following a link, and checks
    // it (FileMayBeUsed). A file that fails the check is closed, and deleted
    // through its handle when this call created it. Empty owner on failure;
    // GetLastError then tells ERROR_FILE_NOT_FOUND and ERROR_FILE_EXISTS from
    // the rest (ERROR_CANT_ACCESS_FILE for a failed check).
    HandleOwner OpenFile(const std::wstring& name, DWORD access, DWORD share, FileOpen how) const;

    // True when nothing at all has the name in the last folder: no file, no
    // folder, and no link, not even one that leads nowhere.
    bool NameIsFree(const std::wstring& name) const;

    // The last folder's handle (null unless open) and a name's full path in it.
    HANDLE folder() const { return m_folders.empty() ? nullptr : m_folders.back().get(); }
    std::wstring PathOf(const std::wstring& name) const { return m_path.InFolder(name); }

private:
    void Close();
    bool Fail(bool failedCheck); // closes all; GetLastError tells why
    HandleOwner CreateChecked(NtOpenRequest request) const;

    GuardedPath m_path;
    std::vector<HandleOwner> m_folders;
    std::vector<bool> m_created; // made by this chain, removed again if unusable
};

// What a handle says about the object it was opened on, `path` being the
// path it was opened by; with a folder handle, the object's entry in that
// folder is asked too (Wine shows a Unix symbolic link only there).
ObjectFacts FactsOf(HANDLE handle, const std::wstring& path, HANDLE parent = nullptr);

// Marks an open file or empty folder for deletion through its own handle (the
// name it has now may no longer be the one it was created under). It goes
// when the last handle closes. The handle needs DELETE access.
bool DeleteThroughHandle(HANDLE file);

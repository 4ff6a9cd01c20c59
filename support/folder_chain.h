// The folders of a GuardedPath, opened and checked one by one from the root
// down, for an elevated process that is about to write below them (Windows).
//
// Each folder is opened without following a link (FILE_FLAG_OPEN_REPARSE_-
// POINT), checked (a real folder, no junction or symbolic link, and where its
// path says), and held open for the lifetime of the chain without delete
// sharing. Windows then refuses to rename or delete any of them, so a folder
// cannot be swapped for a link between the check and the write that follows.
// The trap: checking paths and then opening them by name would leave that
// gap open. Files are checked again through their own handle once opened.
#pragma once

#include "support/guarded_path.h"
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
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;

    // Opens and checks the root and every folder below it. With
    // createMissing, a missing folder is created inside its checked parent
    // with the program folders' rights, then opened and checked like the
    // others. False, holding nothing, when a folder is missing (and not
    // created), is a link or a file, or is not where its path says.
    bool Open(const GuardedPath& path, bool createMissing);

    // Opens a file in the last folder without following a link, and checks
    // it (FileMayBeUsed). A file that fails the check is closed, and deleted
    // through its handle when this call created it. Empty owner on failure;
    // GetLastError then tells ERROR_FILE_NOT_FOUND from the rest.
    HandleOwner OpenFile(const std::wstring& name, DWORD access, DWORD share, FileOpen how) const;

    // True when nothing at all has the name in the last folder: no file, no
    // folder, and no link, not even one that leads nowhere (which Wine
    // reports as missing to every open that follows links).
    bool NameIsFree(const std::wstring& name) const;

    // The full path of a name in the last folder.
    std::wstring PathOf(const std::wstring& name) const { return m_path.InFolder(name); }

private:
    GuardedPath m_path;
    std::vector<HandleOwner> m_folders;
};

// What a handle says about the object it was opened on, `path` being the
// path it was opened by.
ObjectFacts FactsOf(HANDLE handle, const std::wstring& path);

// Marks an open file for deletion through its own handle (the name it has
// now may no longer be the one it was created under). The file goes when the
// last handle closes. The handle needs DELETE access.
bool DeleteThroughHandle(HANDLE file);

// Opening and creating files and folders by a bare name inside a folder that
// is already open (Windows). The folder's handle, not a path, says where the
// name lies, so nothing that happens to the folders above it between a check
// and the open can send the open elsewhere. The trap: CreateFileW takes full
// paths only, and every full path is looked up again from the volume root.
// NtCreateFile takes the handle as OBJECT_ATTRIBUTES.RootDirectory:
// https://learn.microsoft.com/windows-hardware/drivers/ddi/ntifs/nf-ntifs-ntcreatefile
#pragma once

#include "support/win_handles.h"

#include <string>

// Sharing that keeps nobody else out, renames and deletions included.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What a name inside an open folder should become.
enum class NtDisposition {
    OpenExisting, // FILE_OPEN: it must exist
    CreateNew,    // FILE_CREATE: fails when anything has the name, a link included
};

enum class NtKind {
    Folder, // FILE_DIRECTORY_FILE
    File,   // FILE_NON_DIRECTORY_FILE
};

struct NtOpenRequest {
    HANDLE folder = nullptr; // where the name lies
    std::wstring name;       // one component: no separators
    DWORD access = 0;        // SYNCHRONIZE is added
    DWORD share = 0;
    NtDisposition disposition = NtDisposition::OpenExisting;
    NtKind kind = NtKind::File;
    // Security of a new object (the program folders' list), or null.
    PSECURITY_DESCRIPTOR security = nullptr;
};

// Opens or creates the name without following a link at it
// (FILE_OPEN_REPARSE_POINT), for synchronous use, with identification-only
// impersonation should the name lead to a pipe. Empty owner on failure, with
// the Win32 error in GetLastError (ERROR_FILE_NOT_FOUND for a missing name,
// ERROR_FILE_EXISTS when CreateNew finds one).
HandleOwner NtOpenIn(const NtOpenRequest& request);

// CreateFileW for a full path, with the same identification-only
// impersonation (SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION): a planted
// path that reaches a named pipe learns nothing about the caller.
HandleOwner CreateFileNoImpersonation(const std::wstring& path, DWORD access, DWORD share,
                                      DWORD disposition, DWORD flags);

// The attributes of one name as its folder lists it (FileAttributes of the
// folder's entry, asked through the folder's handle), INVALID_FILE_ATTRIBUTES
// when the folder has no such entry or cannot be listed. Wine opens a Unix
// symbolic link's target even when told not to follow links, and shows the
// link only in its folder's entry.
DWORD EntryAttributes(HANDLE folder, const std::wstring& name);

// Sets or clears a file's delete disposition through its handle (which needs
// DELETE access): a file marked so goes when its last handle closes, however
// the process ends.
bool SetDeleteOnClose(HANDLE file, bool remove);

// Renames an open file to a bare name inside an open folder (FILE_RENAME_INFO
// with RootDirectory), replacing what has the name: a file, or a link, which
// is replaced itself and not followed. The Win32 error, or ERROR_SUCCESS.
DWORD RenameInto(HANDLE file, HANDLE folder, const std::wstring& name);

// The program's files below a trusted folder, opened, read and replaced only
// through checked folders (folder_chain.h), for every run: the file itself
// must be a plain file with one name, where its path says. The layer below
// program_files.h; callers outside support/ use that one.
#pragma once

#include "support/guarded_path.h"
#include "support/win_handles.h"

#include <string>

// Creates the missing folders of the path, each inside its checked parent.
// False when a folder fails its check or cannot be made.
bool CreateGuardedFolders(const GuardedPath& path);

// The file opened for reading and appending, created (with its folders) when
// missing, shared for reading and writing, so that other programs may read
// and write it meanwhile. Empty owner when a check fails or the file cannot
// be opened.
HandleOwner OpenGuardedForAppend(const GuardedPath& path);

// Reads the whole file through the checked handle, opened with the given
// sharing. False when a folder or the file fails its check, the file is
// missing, cannot be opened with that sharing, or is larger than maxBytes.
bool ReadGuardedFile(const GuardedPath& path, std::string& bytes, unsigned long long maxBytes,
                     DWORD share = FILE_SHARE_READ);

// Replaces the file's contents in one step, so that readers see the old file
// or the new one, never a torn one: the bytes go to a temporary file in the
// held last folder (temp_file.h), are flushed, and the temporary file is
// renamed over the target. Missing folders are created. An existing target
// must pass the file check: a planted one says the folder is not ours alone.
// ERROR_SUCCESS, ERROR_CANT_ACCESS_FILE when a check fails (nothing is then
// written), or the Win32 error of the step that failed; on failure the
// target is untouched and the temporary file gone.
DWORD ReplaceGuardedFile(const GuardedPath& path, const std::string& bytes);

// The same for a file the caller names and his own rights reach: the folder
// is opened as those rights allow (links followed), and a link at the target
// itself is replaced, never written through. A relative path is taken from
// the current directory. The folder must exist.
DWORD ReplaceFileContents(const std::wstring& path, const std::string& bytes);

// The same with every folder from the volume root down checked like the
// program's own, none created, and a link at the target replaced: for a
// place an elevated run is told to write to. ERROR_CANT_ACCESS_FILE when a
// folder fails its check or the path names no volume folder,
// ERROR_PATH_NOT_FOUND for a missing folder.
DWORD ReplaceCheckedFromVolumeRoot(const std::wstring& path, const std::string& bytes);

// The guarded form of a path of this program's: below the machine-wide
// application data when it lies there, so that every folder from there down
// is checked; otherwise below its own folder.
GuardedPath GuardedPathFor(const std::wstring& path);

// The full form of a path, a relative one taken from the current directory;
// empty when Windows cannot make one.
std::wstring FullPathOf(const std::wstring& path);

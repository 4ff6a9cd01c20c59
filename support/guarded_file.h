// Opening and reading a file of this program's own below a trusted folder,
// for an elevated process (Windows): the folders are checked and held while
// the file is opened (folder_chain.h), and the file itself must be a plain
// file with one name, where its path says.
#pragma once

#include "support/guarded_path.h"
#include "support/win_handles.h"

#include <string>

// Creates the missing folders of the path, each inside its checked parent.
// False when a folder fails its check or cannot be made.
bool CreateGuardedFolders(const GuardedPath& path);

// The file opened for reading and appending, created (with its folders) when
// missing, shared for reading and writing like the log always was. Empty
// owner when a check fails or the file cannot be opened.
HandleOwner OpenGuardedForAppend(const GuardedPath& path);

// Reads the whole file through the checked handle. False when a folder or
// the file fails its check, the file is missing or larger than maxBytes.
bool ReadGuardedFile(const GuardedPath& path, std::string& bytes, unsigned long long maxBytes);

// The guarded form of a path of this program's: below the machine-wide
// application data when it lies there, so that every folder from there down
// is checked; otherwise below its own folder.
GuardedPath GuardedPathFor(const std::wstring& path);

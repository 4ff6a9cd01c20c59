// Replaces a file's contents in one step, so that readers see the old file or
// the new one, never a torn one (Windows).
#pragma once

#include "support/guarded_path.h"

#include <windows.h>

#include <string>

// Writes bytes to a temporary file beside the target (temp_file.h), flushes
// it, then renames it over the target through its handle. A relative path is
// taken from the current directory. Returns ERROR_SUCCESS or the Win32 error
// of the step that failed; on failure the target is untouched and the
// temporary file gone.
DWORD ReplaceFileContents(const std::wstring& path, const std::string& bytes);

// The same for a file of this program's own below a trusted folder, for an
// elevated process: the folders are checked and held (folder_chain.h) and
// missing ones created, an existing target must pass the file check, and the
// temporary file is made inside the held chain. When a check fails nothing is
// written and the result is ERROR_CANT_ACCESS_FILE.
DWORD ReplaceGuardedFile(const GuardedPath& path, const std::string& bytes);

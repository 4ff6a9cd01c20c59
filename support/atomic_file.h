// Replaces a file's contents in one step, so that readers see the old file or
// the new one, never a torn one (Windows).
#pragma once

#include <windows.h>

#include <string>

// Writes bytes to a temporary file in the target's folder, flushes it, then
// moves it over the target (MoveFileExW with MOVEFILE_REPLACE_EXISTING).
// Returns ERROR_SUCCESS or the Win32 error of the step that failed; on
// failure the target is untouched and the temporary file removed.
DWORD ReplaceFileContents(const std::wstring& path, const std::string& bytes);

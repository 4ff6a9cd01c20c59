// A temporary file that becomes a target file in one step, or disappears
// (Windows). Its name is random (temp_name.h), it is created inside its
// folder's handle so that nothing planted under its name is ever opened, and
// it is renamed through its own handle into that same folder handle, never
// by name after the fact: by then the name could lead somewhere else. From
// its creation until just before the rename the system itself deletes it
// when its handle closes, so a process that is ended mid-write leaves
// nothing behind.
#pragma once

#include "support/win_handles.h"

#include <string>

class FolderChain;

// A random temporary name beside the target; empty when Windows gives no
// randomness.
std::wstring NewTempNameFor(const std::wstring& target);

class TempFile {
public:
    TempFile() = default;
    ~TempFile(); // deletes the file through its handle unless committed
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Creates a temporary file beside `target` (a full path), in the
    // target's folder as the caller's own rights reach it. Returns
    // ERROR_SUCCESS or the Win32 error.
    DWORD Create(const std::wstring& target);
    // The same inside a checked folder chain (target is a name in its last
    // folder); the new file is checked like any file of the chain.
    DWORD Create(const FolderChain& chain, const std::wstring& target);

    // Writes all bytes and flushes them to disk.
    DWORD Write(const std::string& bytes);

    // Renames the file over the target in the folder it was made in,
    // replacing what is there: a file, or a link, which is replaced itself
    // and not followed.
    DWORD Commit();

    const std::wstring& path() const { return m_path; }

private:
    HandleOwner m_file;
    HandleOwner m_folder; // where it was made, and is renamed into
    std::wstring m_target;
    std::wstring m_path;
    bool m_committed = false;
};

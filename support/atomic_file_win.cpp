#include "support/atomic_file.h"

#include "support/win_handles.h"

DWORD ReplaceFileContents(const std::wstring& path, const std::string& bytes)
{
    // The temporary file must live in the same folder: a move across volumes
    // would turn into a copy, which is not atomic.
    const std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetCurrentThreadId()) + L".tmp";
    {
        HandleOwner file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return GetLastError();
        size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(
                bytes.size() - done > 0x100000 ? 0x100000 : bytes.size() - done);
            DWORD written = 0;
            if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) ||
                written == 0) {
                const DWORD error = GetLastError();
                file.reset();
                DeleteFileW(temp.c_str());
                return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
            }
            done += written;
        }
        // Flush before the rename, so that a crash cannot leave a renamed but
        // empty file behind.
        FlushFileBuffers(file.get());
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        return error;
    }
    return ERROR_SUCCESS;
}

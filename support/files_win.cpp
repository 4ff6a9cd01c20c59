#include "support/files_win.h"

#include "support/win_handles.h"

bool ReadOpenFile(HANDLE file, std::string& bytes, unsigned long long maxBytes) {
    bytes.clear();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return false;
        if (got == 0)
            break; // the file shrank while being read
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes, unsigned long long maxBytes) {
    bytes.clear();
    const HandleOwner file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ReadOpenFile(file.get(), bytes, maxBytes);
}

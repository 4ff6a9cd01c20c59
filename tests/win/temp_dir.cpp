#include "tests/win/temp_dir.h"

#include <shellapi.h>

TempDir::TempDir() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static LONG counter = 0;
    // Wine hands out the same process ids run after run, so a folder that an
    // earlier run could not remove may have this name: take the next one.
    constexpr int kTries = 1000;
    std::wstring base;
    for (int i = 0; i < kTries; ++i) {
        base = std::wstring(temp) + L"tvxtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(InterlockedIncrement(&counter));
        if (CreateDirectoryW(base.c_str(), nullptr))
            break;
    }
    m_path = base;
}

TempDir::~TempDir() {
    DeleteFolderTree(m_path);
}

void DeleteFolderTree(const std::wstring& folder) {
    // SHFileOperation wants a double-zero-terminated list.
    std::wstring from = folder;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::wstring TempDir::Write(const std::wstring& name, const std::string& bytes) const {
    const std::wstring path = File(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

std::string Utf16File(const std::wstring& text) {
    std::string bytes("\xFF\xFE", 2);
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

namespace {

void AddTree(const std::wstring& folder, const std::wstring& prefix,
             std::map<std::wstring, std::string>& tree) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            tree[prefix + name] = "<folder>";
            AddTree(path, prefix + name + L"\\", tree);
            continue;
        }
        std::string bytes;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char buffer[4096];
            DWORD got = 0;
            while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
                bytes.append(buffer, got);
            CloseHandle(file);
        } else {
            bytes = "<unreadable>";
        }
        tree[prefix + name] = bytes;
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

std::map<std::wstring, std::string> TreeOf(const std::wstring& folder) {
    std::map<std::wstring, std::string> tree;
    AddTree(folder, L"", tree);
    return tree;
}

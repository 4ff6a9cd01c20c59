#include "tests/win/links.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

using UnixName = char*(__cdecl*)(const wchar_t*);

UnixName UnixNameFunction() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<UnixName>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")))
                  : nullptr;
}

std::wstring UnixPath(const std::wstring& path) {
    const UnixName toUnix = UnixNameFunction();
    char* name = toUnix ? toUnix(path.c_str()) : nullptr;
    if (name == nullptr)
        return std::wstring();
    std::wstring wide(name, name + strlen(name)); // the test's paths are ASCII
    HeapFree(GetProcessHeap(), 0, name);
    return wide;
}

// Wine starts Unix programs given as Z:\ paths, but does not tell when one
// has ended (its process handle is not signalled) nor how: the shell writes
// the command's status into a file, which is polled for with a deadline.
bool RunUnixCommand(const std::wstring& unixCommand) {
    wchar_t folder[MAX_PATH] = {};
    wchar_t marker[MAX_PATH] = {};
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"tvx", 0, marker))
        return false;
    DeleteFileW(marker);
    const std::wstring unixMarker = UnixPath(marker);
    // Wine splits the command line the Windows way: one double-quoted
    // argument for -c, so the paths in it must hold no blank or quote (the
    // test's temporary folders do not).
    std::wstring command = L"sh -c \"" + unixCommand + L"; echo $? > " + unixMarker + L".tmp; mv " +
                           unixMarker + L".tmp " + unixMarker + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (unixMarker.empty() || !CreateProcessW(L"Z:\\bin\\sh", &command[0], nullptr, nullptr, FALSE,
                                              0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    constexpr DWORD kDeadlineMs = 10000;
    constexpr DWORD kPollMs = 20;
    const ULONGLONG start = GetTickCount64();
    while (GetFileAttributesW(marker) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() - start > kDeadlineMs)
            return false;
        Sleep(kPollMs);
    }
    char status[16] = {};
    HANDLE file =
        CreateFileW(marker, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ReadFile(file, status, sizeof status - 1, &got, nullptr);
        CloseHandle(file);
    }
    DeleteFileW(marker);
    return status[0] == '0';
}

// A junction: an empty folder turned into a mount point for the target.
bool MakeJunction(const std::wstring& target, const std::wstring& link) {
    if (!CreateDirectoryW(link.c_str(), nullptr))
        return false;
    HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring substitute = L"\\??\\" + target;
    const WORD substituteBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    // Header (tag, length, reserved), four offsets and lengths, then the
    // substitute name and an empty print name, each zero-terminated.
    const WORD pathBytes = substituteBytes + 2 * sizeof(wchar_t);
    std::vector<BYTE> buffer(8 + 8 + pathBytes);
    auto* words = reinterpret_cast<WORD*>(buffer.data());
    *reinterpret_cast<DWORD*>(buffer.data()) = IO_REPARSE_TAG_MOUNT_POINT;
    words[2] = static_cast<WORD>(8 + pathBytes);
    words[4] = 0;                                 // substitute name offset
    words[5] = substituteBytes;                   // its length
    words[6] = substituteBytes + sizeof(wchar_t); // print name offset
    words[7] = 0;                                 // its length
    memcpy(buffer.data() + 16, substitute.c_str(), substituteBytes);
    DWORD returned = 0;
    const BOOL ok =
        DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(),
                        static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(folder);
    if (!ok)
        RemoveDirectoryW(link.c_str());
    return ok != FALSE;
}

} // namespace

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool PlantLink(const std::wstring& target, const std::wstring& link, bool folder) {
    if (RunningUnderWine()) {
        const std::wstring unixTarget = UnixPath(target);
        const std::wstring unixLink = UnixPath(link);
        // Wine passes no exit code back from a Unix program: look instead.
        return !unixTarget.empty() && !unixLink.empty() &&
               RunUnixCommand(L"ln -s " + unixTarget + L" " + unixLink);
    }
    if (folder)
        return MakeJunction(target, link);
    constexpr DWORD kUnprivileged = 0x2; // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    return CreateSymbolicLinkW(link.c_str(), target.c_str(), kUnprivileged) != FALSE;
}

void RemoveLink(const std::wstring& link, bool folder) {
    if (RunningUnderWine()) {
        // rm on a link removes the link; Wine's own calls would follow it.
        const std::wstring unixLink = UnixPath(link);
        if (!unixLink.empty())
            RunUnixCommand(L"rm -f " + unixLink);
        return;
    }
    if (folder)
        RemoveDirectoryW(link.c_str());
    else
        DeleteFileW(link.c_str());
}

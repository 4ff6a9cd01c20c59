#include "probes/steam_info.h"

#include "probes/drive_root.h"
#include "support/log.h"
#include "support/registry_win.h"
#include "support/win_handles.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>

namespace {

const wchar_t kSteamKey[] = L"Software\\Valve\\steam";
const wchar_t kHtcViveKey[] = L"Software\\HtcVive";

// Registry texts are read into 260 characters; key paths are limited alike.
constexpr size_t kRegTextChars = 260;

#ifdef _WIN64
// A 64-bit process would see the 64-bit branch and Program Files by default.
constexpr REGSAM kStandaloneView = KEY_WOW64_32KEY;
constexpr int kProgramFilesFolder = CSIDL_PROGRAM_FILESX86;
#else
// The default view of a 32-bit process already is the 32-bit branch.
constexpr REGSAM kStandaloneView = 0;
constexpr int kProgramFilesFolder = CSIDL_PROGRAM_FILES;
#endif

// Reads a REG_SZ value into the buffer. A value of another type, or one that
// does not fit with its terminating zero, counts as not found and leaves the
// buffer empty; the buffer is always zero-terminated afterwards.
bool ReadRegistryText(HKEY key, const wchar_t* name, wchar_t (&buffer)[kRegTextChars]) {
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    const LONG rc =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    const size_t chars = size / sizeof(wchar_t);
    // Registry strings need not carry their terminator: a value of exactly
    // 260 characters fills the buffer and leaves no room for one.
    const bool fits = chars < kRegTextChars || buffer[kRegTextChars - 1] == L'\0';
    if (rc != ERROR_SUCCESS || type != REG_SZ || !fits) {
        std::fill(std::begin(buffer), std::end(buffer), L'\0');
        return false;
    }
    if (chars < kRegTextChars)
        buffer[chars] = L'\0';
    return true;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// True for a path on one of this machine's own disks. Anything else is never
// looked at: an existence test on a UNC or WebDAV path, or on a letter mapped
// to a network share, makes Windows connect and authenticate to that host as
// this user (an elevated one included) and wait out its network timeouts.
// https://learn.microsoft.com/en-us/windows/win32/api/fileapi/nf-fileapi-getdrivetypew
bool OnFixedDrive(const std::wstring& path) {
    const std::optional<std::wstring> root = DriveLetterRoot(path);
    return root && GetDriveTypeW(root->c_str()) == DRIVE_FIXED;
}

} // namespace

void WriteProbeLog(unsigned level, const std::wstring& message) {
    CCTLog::GetInstance().Write(level, L"%s", message.c_str());
}

bool SteamInfo::FindSteam() {
    wchar_t folder[kRegTextChars] = {};
    wchar_t exe[kRegTextChars] = {};

    // Steam keeps its paths per user, with forward slashes; they are used as
    // they are. The executable is only looked up beside a registered folder.
    {
        RegKeyOwner key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kSteamKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS &&
            ReadRegistryText(key.get(), L"SteamPath", folder) &&
            ReadRegistryText(key.get(), L"SteamExe", exe))
            steamExe = exe;
    }

    // Only when no per-user folder is registered: the machine-wide value that
    // Steam's installer writes into the 64-bit branch. A per-user folder that
    // has since been deleted is not replaced by it.
    if (folder[0] == L'\0') {
        RegKeyOwner key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSteamKey, 0, KEY_READ | KEY_WOW64_64KEY,
                          key.put()) != ERROR_SUCCESS)
            return false;
        if (!ReadRegistryText(key.get(), L"InstallPath", folder))
            return false;
    }

    steamPath = folder;
    if (exe[0] == L'\0')
        steamExe = steamPath + L"\\Steam.exe";
    // A Steam folder elsewhere counts as not found.
    return OnFixedDrive(steamPath) && OnFixedDrive(steamExe) && Exists(steamPath) &&
           Exists(steamExe);
}

bool SteamInfo::FindStandaloneSteamVr(const ProbeLogWriter& log) {
    DWORD installed = 0;
    if (!ReadRegistryDword(HKEY_LOCAL_MACHINE, kHtcViveKey, L"StandaloneSteamVRInstalled",
                           installed, kStandaloneView))
        return false;
    if (installed == 0)
        return false;

    wchar_t programFiles[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, kProgramFilesFolder, nullptr, SHGFP_TYPE_CURRENT, programFiles);
    if (programFiles[0] == L'\0') {
        const DWORD error = GetLastError();
        log(LOG_LEVEL_FAILURE, L"steamvr: standalone exist(file not found), err=" +
                                   std::to_wstring(static_cast<int>(error)));
        return false;
    }

    const std::wstring folder = programFiles;
    if (!Exists(folder + L"\\SteamVR\\bin\\win32\\vrstartup.exe") &&
        !Exists(folder + L"\\SteamVR\\tools\\bin\\win32\\vrmonitor.exe")) {
        log(LOG_LEVEL_FAILURE, L"steamvr: standalone exist(file not found)");
        return false;
    }
    log(LOG_LEVEL_PROGRESS, L"steamvr: standalone exist.");
    return true;
}

bool IsSteamAppInstalled(const std::wstring& appId, bool requireNotUpdating) {
    // An empty identifier would name the Apps key itself.
    if (appId.empty())
        return false;
    const std::wstring path = std::wstring(kSteamKey) + L"\\Apps\\" + appId;
    if (path.size() >= kRegTextChars)
        return false;
    DWORD installed = 0;
    if (!ReadRegistryDword(HKEY_CURRENT_USER, path, L"Installed", installed) || installed == 0)
        return false;
    DWORD updating = 0;
    if (requireNotUpdating && ReadRegistryDword(HKEY_CURRENT_USER, path, L"Updating", updating) &&
        updating != 0)
        return false;
    return true;
}

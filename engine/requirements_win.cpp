// The Windows edge of the requirements configuration: the file choice with its
// fallbacks, and the log lines for a file that cannot be used.
#include "engine/requirements_win.h"

#include "engine/check_report.h"
#include "engine/requirements.h"
#include "support/elevation.h"
#include "support/files_win.h"
#include "support/guarded_file.h"
#include "support/log.h"
#include "support/long_path.h"
#include "support/module_path.h"
#include "support/win_handles.h"

#include <shlwapi.h>

namespace {

const wchar_t kFileName[] = L"checkerconfig.json";

// A configuration is a few kilobytes; anything far larger is not one, and is
// not worth holding in memory whole.
constexpr LONGLONG kMaxConfigBytes = 64LL * 1024 * 1024;

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The downloaded file as an elevated run reads it: only through checked
// folders, and only when it is a plain file of its own (guarded_file.h). One
// that fails a check is passed over like a damaged one.
bool ReadDownload(const std::wstring& path, std::string& bytes) {
    if (IsProcessElevated())
        return ReadGuardedFile(GuardedPathFor(path), bytes, kMaxConfigBytes);
    return ReadWholeFile(path, bytes, kMaxConfigBytes);
}

// The downloaded file is used only when it can be opened exclusively (the
// download is not writing it), its size can be read, and it parses whole.
// An elevated run opens nothing by name here: its read shares with no writer.
bool IsUsableDownload(const std::wstring& path) {
    if (path.empty() || !FileExists(path))
        return false;
    if (!IsProcessElevated()) {
        HandleOwner file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size = {};
        if (!file || !GetFileSizeEx(file.get(), &size))
            return false;
    }
    std::string bytes;
    return ReadDownload(path, bytes) && ParsesAsJson(bytes);
}

// Everything before the last backslash; the text itself when it has none.
std::wstring CutAtLastBackslash(const std::wstring& path) {
    const size_t at = path.rfind(L'\\');
    return at == std::wstring::npos ? path : path.substr(0, at);
}

bool PathExists(const std::wstring& path) {
    return PathFileExistsW(path.c_str()) ||
           GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return path;
}

} // namespace

std::wstring ChooseRequirementsFile(const std::wstring& configPath, const std::wstring& exePath,
                                    const std::wstring& tempFolder) {
    if (IsUsableDownload(configPath))
        return configPath;

    const std::wstring inTemp = tempFolder + L"\\ORMEX\\Tavolex\\config\\" + kFileName;
    // Without the executable's path the folders beside it are unknown; they
    // are not looked for at the root of the current drive instead.
    if (exePath.empty())
        return inTemp;
    const std::wstring exeFolder = CutAtLastBackslash(exePath);
    std::wstring candidate = exeFolder + L"\\config\\";
    // Once a "config" folder exists beside the executable, the parent's
    // "Tavolex\config" is not tried, even when the folder lacks the file.
    if (PathExists(candidate))
        candidate += kFileName;
    else
        candidate = CutAtLastBackslash(exeFolder) + L"\\Tavolex\\config\\" + kFileName;
    if (PathExists(candidate))
        return candidate;
    return inTemp;
}

void LoadRequirementsFrom(CCheckReport& report, const std::wstring& path) {
    CCTLog& log = CCTLog::GetInstance();
    std::string bytes;
    const bool read = path == report.config_path
                          ? ReadDownload(path, bytes)
                          : ReadWholeFile(ExtendedLengthPath(path), bytes, kMaxConfigBytes);
    if (!read) {
        log.Write(LOG_LEVEL_FAILURE, L"open config file failed. file=%s", path.c_str());
        return;
    }
    switch (AppendRequirements(bytes, report)) {
    case RequirementsStatus::ParseFailed:
        log.Write(LOG_LEVEL_FAILURE, L"parse config file failed. file=%s", path.c_str());
        break;
    case RequirementsStatus::NotAnObject:
        log.Write(LOG_LEVEL_FAILURE, L"error config file. file=%s", path.c_str());
        break;
    case RequirementsStatus::Loaded:
        break;
    }
}

void CCheckReport::LoadRequirements() {
    LoadRequirementsFrom(*this,
                         ChooseRequirementsFile(config_path, ReadModulePath(), TempFolder()));
}

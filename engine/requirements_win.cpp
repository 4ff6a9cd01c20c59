// The Windows edge of the requirements configuration: the file choice with its
// fallbacks, and the log lines for a file that cannot be used.
#include "engine/requirements_win.h"

#include "engine/check_report.h"
#include "engine/requirements.h"
#include "support/log.h"
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

// The downloaded file is used only when it can be opened exclusively (the
// download is not writing it), its size can be read, and it parses whole.
bool IsUsableDownload(const std::wstring& path) {
    if (path.empty() || !FileExists(path))
        return false;
    {
        HandleOwner file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size = {};
        if (!file || !GetFileSizeEx(file.get(), &size))
            return false;
    }
    std::string bytes;
    return ReadWholeFile(path, bytes) && ParsesAsJson(bytes);
}

// Everything before the last backslash; the text itself when it has none.
std::wstring CutAtLastBackslash(const std::wstring& path) {
    const size_t at = path.rfind(L'\\');
    return at == std::wstring::npos ? path : path.substr(0, at);
}

std::wstring ModulePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return path;
}

} // namespace

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    HandleOwner file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxConfigBytes)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &got,
                      nullptr))
            return false;
        if (got == 0)
            break; // the file shrank while being read
        done += got;
    }
    bytes.resize(done);
    return true;
}

std::wstring ChooseRequirementsFile(const std::wstring& configPath, const std::wstring& exePath,
                                    const std::wstring& tempFolder) {
    if (IsUsableDownload(configPath))
        return configPath;

    const std::wstring exeFolder = CutAtLastBackslash(exePath);
    std::wstring candidate = exeFolder + L"\\config\\";
    // Once a "config" folder exists beside the executable, the parent's
    // "Tavolex\config" is not tried, even when the folder lacks the file.
    if (PathFileExistsW(candidate.c_str()))
        candidate += kFileName;
    else
        candidate = CutAtLastBackslash(exeFolder) + L"\\Tavolex\\config\\" + kFileName;
    if (PathFileExistsW(candidate.c_str()))
        return candidate;
    return tempFolder + L"\\ORMEX\\Tavolex\\config\\" + kFileName;
}

void LoadRequirementsFrom(CCheckReport& report, const std::wstring& path) {
    CCTLog& log = CCTLog::GetInstance();
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        log.Write(0, L"open config file failed. file=%s", path.c_str());
        return;
    }
    switch (AppendRequirements(bytes, report)) {
    case RequirementsStatus::ParseFailed:
        log.Write(0, L"parse config file failed. file=%s", path.c_str());
        break;
    case RequirementsStatus::NotAnObject:
        log.Write(0, L"error config file. file=%s", path.c_str());
        break;
    case RequirementsStatus::Loaded:
        break;
    }
}

void CCheckReport::LoadRequirements() {
    LoadRequirementsFrom(*this, ChooseRequirementsFile(config_path, ModulePath(), TempFolder()));
}

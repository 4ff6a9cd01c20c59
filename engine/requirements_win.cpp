// The Windows edge of the requirements configuration: the file choice with its
// fallbacks, and the log lines for a file that cannot be used. Every file is
// reached through the program's file layer (program_files.h).
#include "engine/requirements_win.h"

#include "engine/check_report.h"
#include "engine/requirements.h"
#include "support/log.h"
#include "support/module_path.h"
#include "support/program_files.h"

#include <json/value.h>

namespace {

const wchar_t kFileName[] = L"checkerconfig.json";

// The downloaded file is used only when it can be read exclusively (the
// download is not writing it), within the size cap, and parses whole: a
// damaged one is passed over for the fallbacks. On success root holds it.
bool ReadUsableDownload(const std::wstring& path, Json::Value& root) {
    std::string bytes;
    return ReadStoredConfiguration(path, bytes) && ParseConfiguration(bytes, root);
}

// Everything before the last backslash; the text itself when it has none.
std::wstring CutAtLastBackslash(const std::wstring& path) {
    const size_t at = path.rfind(L'\\');
    return at == std::wstring::npos ? path : path.substr(0, at);
}

// The fallbacks after the download, in their order.
std::wstring ChooseFallbackFile(const std::wstring& exePath, const std::wstring& tempFolder) {
    // Without a temporary folder the last fallback names nothing, rather than
    // a file at the root of the current drive.
    const std::wstring inTemp = tempFolder.empty()
                                    ? std::wstring()
                                    : tempFolder + L"\\ORMEX\\Tavolex\\config\\" + kFileName;
    // Without the executable's path the folders beside it are unknown; they
    // are not looked for at the root of the current drive instead.
    if (exePath.empty())
        return inTemp;
    const std::wstring exeFolder = CutAtLastBackslash(exePath);
    std::wstring candidate = exeFolder + L"\\config\\";
    // Once a "config" folder exists beside the executable, the parent's
    // "Tavolex\config" is not tried, even when the folder lacks the file.
    if (ConfigurationLocationExists(candidate))
        candidate += kFileName;
    else
        candidate = CutAtLastBackslash(exeFolder) + L"\\Tavolex\\config\\" + kFileName;
    if (ConfigurationLocationExists(candidate))
        return candidate;
    return inTemp;
}

void LogRefusal(RequirementsStatus status, const std::wstring& path) {
    CCTLog& log = CCTLog::GetInstance();
    switch (status) {
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

} // namespace

std::wstring ChooseRequirementsFile(const std::wstring& configPath, const std::wstring& exePath,
                                    const std::wstring& tempFolder) {
    Json::Value root;
    return ReadUsableDownload(configPath, root) ? configPath
                                                : ChooseFallbackFile(exePath, tempFolder);
}

void LoadRequirementsFrom(CCheckReport& report, const std::wstring& path) {
    std::string bytes;
    const bool read = path == report.config_path ? ReadStoredConfiguration(path, bytes)
                                                 : ReadConfigurationFile(path, bytes);
    if (!read) {
        CCTLog::GetInstance().Write(LOG_LEVEL_FAILURE, L"open config file failed. file=%s",
                                    path.c_str());
        return;
    }
    LogRefusal(AppendRequirements(bytes, report), path);
}

void LoadRequirementsInto(CCheckReport& report) {
    // The download is read and parsed once: the same tree that passed the
    // choice fills the lists.
    Json::Value root;
    if (ReadUsableDownload(report.config_path, root)) {
        LogRefusal(AppendParsedRequirements(root, report), report.config_path);
        return;
    }
    LoadRequirementsFrom(report, ChooseFallbackFile(ReadModulePath(), TemporaryFolder()));
}

// Construction of the checker and the configuration download.
#include "engine/system_checker.h"

#include "service/config_reply.h"
#include "service/http.h"
#include "service/request_signing.h"
#include "support/atomic_file.h"
#include "support/elevation.h"
#include "support/folders.h"
#include "support/guarded_file.h"
#include "support/language.h"
#include "support/log.h"
#include "support/text.h"

#include <shlobj.h>

namespace {

// The updates folder under the machine-wide application data, created with
// its parents. Empty when Windows cannot name that folder: a path relative to
// the root of whatever drive is current would scatter files there.
std::wstring DefaultConfigPath() {
    wchar_t common[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common)))
        return std::wstring();
    const GuardedPath config{common, {L"ORMEX", L"updates", L"tavolex"}, L"checkerconfig.json"};
    // A folder that cannot be made shows up later as a file that cannot be
    // written or read, and both of those are handled where they happen. An
    // elevated run makes the folders only inside checked ones.
    if (IsProcessElevated())
        CreateGuardedFolders(config);
    else
        CreateFolderPath(config.Folder() + L"\\");
    return config.Full();
}

} // namespace

CSystemChecker::CSystemChecker() : CSystemChecker(DefaultConfigPath()) {}

CSystemChecker::CSystemChecker(std::wstring configPath)
    : m_configPath(std::move(configPath)), m_language(LANGUAGES[LANGUAGE_CHINESE].code) {}

CSystemChecker::~CSystemChecker() = default;

void CSystemChecker::DownloadConfig() {
    try {
        CCTLog& log = CCTLog::GetInstance();
        const std::string base =
            std::string(TVX_CONFIG_ENDPOINT) + "?language=" + WideToGbk(m_language.c_str());
        const std::string signedUrl = SignRequestUrl(base, GetServerTimestamp());

        // A reply past its deadline or over its cap reads as an empty one.
        const HttpReply reply = HttpFetch(signedUrl, kConfigReplyLimits);
        std::string url;
        switch (ReadConfigReply(reply.body, url)) {
        case ConfigReply::Unreadable:
            log.Write(LOG_LEVEL_FAILURE, L"read config url failed(json). ");
            return;
        case ConfigReply::NoBody:
            log.Write(LOG_LEVEL_FAILURE, L"get config url failed(json). ");
            return;
        case ConfigReply::Aborted:
            return;
        case ConfigReply::Located:
            break;
        }
        // The document's URL is used exactly as the service gave it: no
        // signature, no time stamp. Anything but a web address (an empty
        // one included) counts as a failed download.
        if (!IsDocumentUrl(url))
            return;
        const HttpReply document = HttpFetch(url, kDocumentLimits);
        switch (JudgeDocument(document.complete, document.status, document.body)) {
        case DocumentVerdict::Failed:
            return;
        case DocumentVerdict::BadStatus:
            log.Write(LOG_LEVEL_FAILURE, L"keep old config. status=%d",
                      static_cast<int>(document.status));
            return;
        case DocumentVerdict::BadJson:
            log.Write(LOG_LEVEL_FAILURE, L"keep old config. bad json");
            return;
        case DocumentVerdict::Store:
            break;
        }
        if (m_configPath.empty())
            return;
        // The replacement is atomic, so a failed or interrupted write leaves
        // the previous configuration intact. An elevated run writes only
        // through checked folders, and not at all when a check fails.
        if (IsProcessElevated())
            ReplaceGuardedFile(GuardedPathFor(m_configPath), document.body);
        else
            ReplaceFileContents(m_configPath, document.body);
    } catch (...) {
        // The configuration file keeps whatever it held.
    }
}

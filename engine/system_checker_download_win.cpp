// Construction of the checker and the configuration download.
#include "engine/system_checker.h"

#include "service/config_reply.h"
#include "service/http.h"
#include "service/request_signing.h"
#include "support/atomic_file.h"
#include "support/folders.h"
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
    const std::wstring folder = std::wstring(common) + L"\\ORMEX\\updates\\tavolex\\";
    // A folder that cannot be made shows up later as a file that cannot be
    // written or read, and both of those are handled where they happen.
    CreateFolderPath(folder);
    return folder + L"checkerconfig.json";
}

} // namespace

CSystemChecker::CSystemChecker() : CSystemChecker(DefaultConfigPath()) {}

CSystemChecker::CSystemChecker(std::wstring configPath)
    : m_configPath(std::move(configPath)), m_language(L"cn") {}

CSystemChecker::~CSystemChecker() = default;

void CSystemChecker::DownloadConfig() {
    try {
        const std::string base =
            std::string(TVX_CONFIG_ENDPOINT) + "?language=" + WideToGbk(m_language.c_str());
        const std::string signedUrl = SignRequestUrl(base, GetServerTimestamp());

        std::string reply;
        HttpGet(signedUrl, reply);
        std::string url;
        switch (ReadConfigReply(reply, url)) {
        case ConfigReply::Unreadable:
            CCTLog::GetInstance().Write(0, L"read config url failed(json). ");
            return;
        case ConfigReply::NoBody:
            CCTLog::GetInstance().Write(0, L"get config url failed(json). ");
            return;
        case ConfigReply::Aborted:
            return;
        case ConfigReply::Located:
            break;
        }
        // The document's URL is used exactly as the service gave it: no
        // signature, no time stamp. An empty one cannot be fetched.
        if (url.empty())
            return;
        reply.clear();
        HttpGet(url, reply);
        // Whatever came back is stored, an error page included; only an empty
        // reply keeps the old file. The replacement is atomic, so a failed or
        // interrupted write leaves the previous configuration intact.
        if (!reply.empty() && !m_configPath.empty())
            ReplaceFileContents(m_configPath, reply);
    } catch (...) {
        // The configuration file keeps whatever it held.
    }
}

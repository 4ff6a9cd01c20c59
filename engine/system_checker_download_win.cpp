// Construction of the checker and the configuration download.
#include "engine/system_checker.h"

#include "service/config_reply.h"
#include "service/http.h"
#include "service/request_signing.h"
#include "support/language.h"
#include "support/log.h"
#include "support/program_files.h"
#include "support/text.h"

CSystemChecker::CSystemChecker() : CSystemChecker(PrepareConfigurationPath()) {}

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
        switch (JudgeDocument(document)) {
        case DocumentUse::Failed:
            return;
        case DocumentUse::TooLarge:
            log.Write(LOG_LEVEL_FAILURE, L"keep old config. too large");
            return;
        case DocumentUse::BadStatus:
            log.Write(LOG_LEVEL_FAILURE, L"keep old config. status=%d",
                      static_cast<int>(document.status));
            return;
        case DocumentUse::BadJson:
            log.Write(LOG_LEVEL_FAILURE, L"keep old config. bad json");
            return;
        case DocumentUse::Store:
            break;
        }
        if (m_configPath.empty())
            return;
        // The replacement is atomic, so a failed or interrupted write leaves
        // the previous configuration intact.
        StoreConfiguration(m_configPath, document.body);
    } catch (...) {
        // The configuration file keeps whatever it held.
    }
}

#include "app/report_mode.h"

#include "app/report_format.h"
#include "engine/system_checker.h"
#include "support/language.h"
#include "support/log.h"
#include "support/program_files.h"

#include <ctime>
#include <exception>

int RunReportMode(const StartupDecision& decision) {
    CCTLog& log = CCTLog::GetInstance();
    log.Open(); // the same log a windowed check keeps
    if (decision.reportPath.empty()) {
        log.Write(LOG_LEVEL_FAILURE, L"report mode needs a file: report=PATH");
        return REPORT_EXIT_NO_PATH;
    }

    const wchar_t* language = LanguageForIndex(decision.languageIndex).code;
    CSystemChecker& checker = CSystemChecker::Instance();
    int code = CHECK_RESULT_NONE;
    try {
        code = checker.Run(language);
    } catch (const std::exception&) {
        // Only an allocation failure gets here; there is nothing to report.
        log.Write(LOG_LEVEL_FAILURE, L"report not written: the check failed. file=%s",
                  decision.reportPath.c_str());
        return REPORT_EXIT_WRITE_FAILED;
    }
    const CCheckReport* report = checker.Report();
    if (report == nullptr) {
        log.Write(LOG_LEVEL_FAILURE, L"report not written: no findings. file=%s",
                  decision.reportPath.c_str());
        return REPORT_EXIT_WRITE_FAILED;
    }

    const std::string bytes =
        ReportFormatForPath(decision.reportPath) == ReportFormat::StoredResult
            ? ToUtf16LeWithBom(ReportToStoredResult(*report))
            : ReportToJson(*report, code, language, Iso8601Utc(std::time(nullptr)));
    const DWORD error = WriteReport(decision.reportPath, bytes);
    if (error != ERROR_SUCCESS) {
        log.Write(LOG_LEVEL_FAILURE, L"write report failed. file=%s error=%d",
                  decision.reportPath.c_str(), static_cast<int>(error));
        return REPORT_EXIT_WRITE_FAILED;
    }
    log.Write(LOG_LEVEL_PROGRESS, L"report written. file=%s result=%d", decision.reportPath.c_str(),
              code);
    return code;
}

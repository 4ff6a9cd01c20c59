#include "app/report_mode.h"

#include "app/report_format.h"
#include "engine/system_checker.h"
#include "support/language.h"
#include "support/log.h"
#include "support/program_files.h"

#include <ctime>
#include <new>

int RunReportMode(const StartupDecision& decision) {
    CCTLog& log = CCTLog::GetInstance();
    log.Open(); // the same log a windowed check keeps
    if (decision.reportPath.empty()) {
        log.Write(LOG_LEVEL_FAILURE, L"report mode needs a file: report=PATH");
        return REPORT_EXIT_NO_PATH;
    }

    const wchar_t* language = LanguageForIndex(decision.languageIndex).code;
    CSystemChecker* checker = nullptr;
    int code = CHECK_RESULT_NONE;
    try {
        // The checker's construction allocates too, so it is inside.
        checker = &CSystemChecker::Instance();
        code = checker->Run(language);
    } catch (...) {
        // Memory exhausted (std::bad_alloc) or anything else that escaped
        // the check: no findings to trust, so no report, and the documented
        // exit code rather than a crash.
        log.Write(LOG_LEVEL_FAILURE, L"report not written: the check failed. file=%s",
                  decision.reportPath.c_str());
        return REPORT_EXIT_WRITE_FAILED;
    }
    const CCheckReport* report = checker->Report();
    if (report == nullptr) {
        log.Write(LOG_LEVEL_FAILURE, L"report not written: no findings. file=%s",
                  decision.reportPath.c_str());
        return REPORT_EXIT_WRITE_FAILED;
    }

    // Formatting and writing allocate as well; out of memory there is a
    // failed write.
    DWORD error = ERROR_NOT_ENOUGH_MEMORY;
    try {
        const std::string bytes =
            ReportFormatForPath(decision.reportPath) == ReportFormat::StoredResult
                ? ToUtf16LeWithBom(ReportToStoredResult(*report))
                : ReportToJson(*report, code, language, Iso8601Utc(std::time(nullptr)));
        error = WriteReport(decision.reportPath, bytes);
    } catch (const std::bad_alloc&) {
        // error stays ERROR_NOT_ENOUGH_MEMORY, which the log line names.
    }
    if (error != ERROR_SUCCESS) {
        log.Write(LOG_LEVEL_FAILURE, L"write report failed. file=%s error=%d",
                  decision.reportPath.c_str(), static_cast<int>(error));
        return REPORT_EXIT_WRITE_FAILED;
    }
    log.Write(LOG_LEVEL_PROGRESS, L"report written. file=%s result=%d", decision.reportPath.c_str(),
              code);
    return code;
}

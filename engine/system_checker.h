// The process-wide checker: one Run performs a whole check (configuration
// download, graphics probe, evaluation) and returns the check result.
// It owns the check-mode report, which the result window reads afterwards.
#pragma once

#include "engine/check_report.h"
#include "engine/overall_verdicts.h"

#include <memory>
#include <string>

class IMachineProbe;

class CSystemChecker {
public:
    // The one instance, created on first use and destroyed at process exit.
    // Only the check worker thread uses it, so creation takes no lock.
    static CSystemChecker& Instance();

    // A checker that keeps its configuration at configPath; Instance() uses
    // the updates folder under the machine-wide application data. Tests use
    // this to work in a folder of their own.
    explicit CSystemChecker(std::wstring configPath);
    ~CSystemChecker();
    CSystemChecker(const CSystemChecker&) = delete;
    CSystemChecker& operator=(const CSystemChecker&) = delete;

    // language: "cn", "en" or "jp"; null keeps the previous one ("cn" at
    // first). Download failures are logged and do not stop the run.
    int Run(const wchar_t* language);
    // The same with the evaluation's machine answers supplied by the caller.
    int Run(const wchar_t* language, IMachineProbe& machine);

    // Refreshes the configuration file from the configuration service; the
    // file is only ever replaced whole, never left half written.
    void DownloadConfig();

    CCheckReport* Report() const { return m_report.get(); }
    const std::wstring& ConfigPath() const { return m_configPath; }
    const std::wstring& Language() const { return m_language; }
    int LastCheckResult() const { return m_checkResult; }

private:
    CSystemChecker();
    CCheckReport& PrepareRun(const wchar_t* language);

    std::wstring m_configPath;
    std::unique_ptr<CCheckReport> m_report;
    std::wstring m_language;
    int m_checkResult = CHECK_RESULT_NONE;
};

// The whole check: download, graphics probe, evaluation, overall code.
#include "engine/machine_probe.h"
#include "engine/system_checker.h"

CSystemChecker& CSystemChecker::Instance() {
    static CSystemChecker instance;
    return instance;
}

CCheckReport& CSystemChecker::PrepareRun(const wchar_t* language) {
    if (language != nullptr)
        m_language = language;
    // One report per process: a second run reuses it as it stands.
    if (!m_report)
        m_report.reset(new CCheckReport(m_configPath));
    return *m_report;
}

int CSystemChecker::Run(const wchar_t* language) {
    return Run(language, RealMachineProbe());
}

// The route of one check. The adapters are recorded before the evaluation
// because the graphics rules match their names.
int CSystemChecker::Run(const wchar_t* language, IMachineProbe& machine) {
    CCheckReport& report = PrepareRun(language);
    DownloadConfig();
    report.ProbeVideoControllers(machine);
    report.Evaluate(machine);
    m_checkResult = CheckResultOf(report);
    return m_checkResult;
}

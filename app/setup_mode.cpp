#include "app/setup_mode.h"

#include "engine/check_report.h"
#include "engine/overall_verdicts.h"
#include "ui/check_result_wnd.h"

#include <memory>

int RunSetupMode(const StartupDecision& decision) {
    auto window = std::make_unique<CCheckResultWnd>(L"checkresult_setupwnd.xml",
                                                    decision.languageIndex, decision.checkResult);
    if (window->Create(nullptr, nullptr, WINDOW_STYLE_DIALOG, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr) == nullptr)
        return 1; // no window could be shown: do not let the installer go on

    window->CenterWindow();

    // The report lives as long as the window that shows it.
    auto report = std::make_unique<CCheckReport>();
    report->ReadResultFile(decision.resultFilePath);
    const SetupOverallVerdicts overall = OverallVerdictsFor(decision.checkResult);
    report->video_result = overall.video;
    report->game_result = overall.game;
    PresentReport(*window, *report, StoredSecondAdapter(*report));

    window->ShowModal();
    const int exitCode = window->GetExitCode();
    window.reset();
    report.reset();
    return exitCode;
}

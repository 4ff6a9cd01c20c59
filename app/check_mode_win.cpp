#include "app/check_mode.h"

#include "ui/start_check_wnd.h"

#include <memory>

int RunCheckMode(const StartupDecision& decision) {
    auto window = std::make_unique<CStartCheckWnd>(decision.languageIndex);
    if (window->Create(nullptr, nullptr, WINDOW_STYLE_DIALOG, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr) == nullptr)
        return 0;
    window->CenterWindow();
    window->ShowModal();

    // The worker still runs when the user closed the window during the check,
    // and for a moment after it closed the window itself. It uses this window
    // and the process-wide checker, so neither may be destroyed under it:
    // end the process here, at once. Every log line is already flushed and
    // the configuration file is only ever replaced whole.
    HANDLE worker = window->GetWorkerThread();
    if (worker != nullptr && WaitForSingleObject(worker, 0) == WAIT_TIMEOUT)
        TerminateProcess(GetCurrentProcess(), 0);
    window.reset();
    return 0;
}

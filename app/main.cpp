// Program entry: start-up options, then the window of the chosen mode.
#include "app/check_mode.h"
#include "app/process_hardening_win.h"
#include "app/report_mode.h"
#include "app/setup_mode.h"
#include "app/startup_win.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Before anything can load a DLL from the exe's (download) folder.
    HardenDllSearch();
    const StartupDecision decision = RunStartupOptions(instance);
    if (decision.mode == StartMode::Setup)
        return RunSetupMode(decision);
    if (decision.mode == StartMode::Report)
        return RunReportMode(decision);
    return RunCheckMode(decision);
}

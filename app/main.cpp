// Program entry: start-up options, then the window of the chosen mode.
#include "app/check_mode.h"
#include "app/process_hardening_win.h"
#include "app/report_mode.h"
#include "app/setup_mode.h"
#include "app/startup_win.h"
#include "toolkit/window.h"

#include <windows.h>

namespace {

// The box a window shows when its layout cannot be loaded: the same text in
// every language.
constexpr wchar_t kLayoutFailureText[] = L"加载资源文件失败";
constexpr wchar_t kLayoutFailureCaption[] = L"ORMEX";

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Before anything can load a DLL from the exe's (download) folder.
    HardenDllSearch();
    SetLayoutFailureMessage(kLayoutFailureText, kLayoutFailureCaption);
    const StartupDecision decision = RunStartupOptions(instance);
    if (decision.mode == StartMode::Setup)
        return RunSetupMode(decision);
    if (decision.mode == StartMode::Report)
        return RunReportMode(decision);
    return RunCheckMode(decision);
}

// The start window over the real skin, with the check and the worker start
// replaced: whatever goes wrong, the waiting page does not stay up for ever.
#include "engine/check_report.h"
#include "tests/toolkit/gui_helpers.h"
#include "ui/check_result_wnd.h"
#include "ui/start_check_wnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>

namespace {

constexpr int kEnglish = 1;
constexpr UINT kPollMs = 50;
constexpr DWORD kWorkerEndMs = 15000;

std::unique_ptr<CStartCheckWnd> OpenStart(const StartCheckSteps& steps) {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    auto window = std::make_unique<CStartCheckWnd>(kEnglish, steps);
    if (window->Create(nullptr, nullptr, WINDOW_STYLE_DIALOG, 0) == nullptr)
        return nullptr;
    return window;
}

bool Shown(CStartCheckWnd& window, const wchar_t* name) {
    CControlUI* control = window.GetPaintManager().FindControl(name);
    return control != nullptr && control->IsVisible();
}

// The check got as far as the processor, then ran out of memory.
CCheckReport g_partial;
void CheckThatThrows(const wchar_t*) {
    g_partial.display_info.cpu = L"Partly Checked CPU";
    throw std::bad_alloc();
}
const CCheckReport* PartialReport() {
    return &g_partial;
}

// Polled on the main thread while the start window's loop runs: once the
// worker has filled the result window and hidden the start window, note the
// processor line it shows and close it, which lets the worker close the
// start window.
HWND g_start = nullptr;
std::wstring g_shownCpu;
void CALLBACK CloseResultWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND result = FindWindowW(L"CheckResult_Wnd", nullptr);
    if (result == nullptr || IsWindowVisible(g_start))
        return;
    KillTimer(nullptr, timer);
    // The worker sits in the result window's message loop; its controls are
    // no longer written.
    auto* window = dynamic_cast<CCheckResultWnd*>(
        reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(result, GWLP_USERDATA)));
    CControlUI* cpu =
        window != nullptr ? window->GetPaintManager().FindControl(L"cputext") : nullptr;
    g_shownCpu = cpu != nullptr ? cpu->GetText() : L"(no cputext)";
    PostMessageW(result, WM_CLOSE, 0, 0);
}

int g_startAttempts = 0;
HANDLE NoThread(unsigned(__stdcall*)(void*), void*) {
    ++g_startAttempts;
    return nullptr;
}

} // namespace

TEST(StartWindowTest, ACheckThatThrowsStillOpensTheResultWindow) {
    StartCheckSteps steps = RealStartCheckSteps();
    steps.runCheck = &CheckThatThrows;
    steps.report = &PartialReport;
    auto window = OpenStart(steps);
    ASSERT_NE(window, nullptr);
    g_start = *window;
    POINT start;
    ASSERT_TRUE(ControlCentre(window->GetPaintManager(), L"StartBtn", start));
    const UINT_PTR poll = SetTimer(nullptr, 0, kPollMs, &CloseResultWindow);
    UINT code = 0;
    {
        ModalWatchdog watchdog(*window);
        PostClick(*window, start);
        code = window->ShowModal();
    }
    KillTimer(nullptr, poll);
    ASSERT_NE(window->GetWorkerThread(), nullptr);
    EXPECT_EQ(WaitForSingleObject(window->GetWorkerThread(), kWorkerEndMs), WAIT_OBJECT_0);
    // Closed by the worker (code 1) after the result window, not by the watchdog.
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(g_shownCpu, L"CPU: Partly Checked CPU");
}

TEST(StartWindowTest, NoWorkerThreadBringsTheStartPageBack) {
    StartCheckSteps steps = RealStartCheckSteps();
    steps.startWorker = &NoThread;
    auto window = OpenStart(steps);
    ASSERT_NE(window, nullptr);
    CControlUI* button = window->GetPaintManager().FindControl(L"StartBtn");
    ASSERT_NE(button, nullptr);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        window->GetPaintManager().Activate(button);
        EXPECT_EQ(g_startAttempts, attempt);
        EXPECT_TRUE(Shown(*window, L"CheckLayout")) << attempt;
        EXPECT_FALSE(Shown(*window, L"LoadingLayout")) << attempt;
        EXPECT_EQ(window->GetWorkerThread(), nullptr);
    }
}

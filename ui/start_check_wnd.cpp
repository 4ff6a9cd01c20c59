#include "ui/start_check_wnd.h"

#include "engine/system_checker.h"
#include "support/language.h"
#include "support/log.h"
#include "ui/check_result_wnd.h"
#include "ui/skin_folder_win.h"
#include "ui/string_ids.h"
#include "ui/string_table.h"

#include <process.h>

#include <memory>

namespace {
// The waiting page's indicator moves on a window timer of the main thread, so
// it keeps moving while the worker is busy and stops with the window.
constexpr UINT_PTR kIndicatorTimer = 1;
constexpr UINT kIndicatorPeriodMs = 250;
constexpr unsigned kIndicatorDots = 5;
// Posted by a worker whose hand-over failed: the start page comes back.
constexpr UINT kBackToStartMessage = WM_APP + 1;

void RunRealCheck(const wchar_t* language) {
    CSystemChecker::Instance().Run(language);
}

const CCheckReport* RealReport() {
    return CSystemChecker::Instance().Report();
}

HANDLE StartRealWorker(unsigned(__stdcall* entry)(void*), void* argument) {
    // _beginthreadex rather than CreateThread: the worker uses the C runtime
    // (streams, locale), which needs its per-thread data. It returns 0 on
    // failure, never INVALID_HANDLE_VALUE.
    return reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, entry, argument, 0, nullptr));
}
} // namespace

const StartCheckSteps& RealStartCheckSteps() {
    static const StartCheckSteps steps = {&RunRealCheck, &RealReport, &StartRealWorker};
    return steps;
}

CStartCheckWnd::CStartCheckWnd(int languageIndex, const StartCheckSteps& steps)
    : m_steps(steps), m_language(languageIndex) {}

CStartCheckWnd::~CStartCheckWnd() = default;

std::wstring CStartCheckWnd::GetSkinFolder() {
    return SkinFolderFor(LanguageForIndex(m_language).skinFolder);
}

void CStartCheckWnd::InitWindow() {
    CCTLog::GetInstance().Open();
    constexpr size_t kTitleChars = 1024;
    SetWindowTextW(m_hWnd, LoadUiString(IDS_START_TITLE, kTitleChars).c_str());
}

void CStartCheckWnd::OnClick(TNotifyUI& msg) {
    if (msg.pSender != nullptr && msg.pSender->GetName() == L"StartBtn" && ShowWaitingPage(true)) {
        // No thread, no check: the start page comes back at once, so that
        // the user can try again or close the window.
        m_worker.reset(m_steps.startWorker(&CStartCheckWnd::WorkerMain, this));
        if (!m_worker)
            ShowWaitingPage(false);
    }
    WindowImplBase::OnClick(msg);
}

LRESULT CStartCheckWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kIndicatorTimer) {
        AdvanceIndicator();
        return 0;
    }
    if (message == kBackToStartMessage) {
        ShowWaitingPage(false);
        ShowWindow(true, true);
        return 0;
    }
    if (message == WM_DESTROY)
        KillTimer(m_hWnd, kIndicatorTimer);
    return WindowImplBase::HandleMessage(message, wParam, lParam);
}

bool CStartCheckWnd::ShowWaitingPage(bool waiting) {
    CControlUI* loading = m_pm.FindControl(L"LoadingLayout");
    CControlUI* start = m_pm.FindControl(L"CheckLayout");
    if (loading == nullptr || start == nullptr)
        return false;
    start->SetVisible(!waiting);
    loading->SetVisible(waiting);
    if (waiting) {
        SetTimer(m_hWnd, kIndicatorTimer, kIndicatorPeriodMs, nullptr);
        AdvanceIndicator();
    } else {
        KillTimer(m_hWnd, kIndicatorTimer);
    }
    return true;
}

void CStartCheckWnd::AdvanceIndicator() {
    CControlUI* indicator = m_pm.FindControl(L"LoadingIndicator");
    if (indicator == nullptr)
        return;
    std::wstring dots;
    for (unsigned i = 0; i < kIndicatorDots; ++i)
        dots += (i == m_indicatorStep % kIndicatorDots) ? L"\x25CF" : L"\x25CB"; // filled / hollow
    ++m_indicatorStep;
    indicator->SetText(dots);
}

unsigned __stdcall CStartCheckWnd::WorkerMain(void* param) {
    auto* window = static_cast<CStartCheckWnd*>(param);
    if (window == nullptr)
        return 0;
    try {
        window->m_steps.runCheck(LanguageForIndex(window->m_language).code);
    } catch (...) {
        // A check that throws (memory exhausted) is treated like one that
        // failed quietly: the result window shows what the report holds.
    }
    try {
        window->ShowResult();
    } catch (...) {
        // Without a result window the waiting page would stay up for ever.
        PostMessageW(window->m_hWnd, kBackToStartMessage, 0, 0);
    }
    return 0;
}

void CStartCheckWnd::ShowResult() {
    auto result = std::make_unique<CCheckResultWnd>(L"checkresultwnd.xml", m_language,
                                                    CHECK_RESULT_CHECK_MODE);
    result->Create(nullptr, nullptr, WINDOW_STYLE_DIALOG, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
    result->CenterWindow();
    // A check that threw before its report was made shows an empty one.
    const CCheckReport* report = m_steps.report();
    const CCheckReport empty;
    if (report == nullptr)
        report = &empty;
    PresentReport(*result, *report, CheckedSecondAdapter(*report));
    ShowWindow(false, true);
    result->ShowModal();
    Close(1);
    result.reset();
}

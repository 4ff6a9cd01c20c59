#include "ui/start_check_wnd.h"

#include "app/startup_options.h"
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
} // namespace

CStartCheckWnd::CStartCheckWnd(int languageIndex) : m_language(languageIndex) {}

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
    if (msg.pSender != nullptr && msg.pSender->GetName() == L"StartBtn") {
        CControlUI* loading = m_pm.FindControl(L"LoadingLayout");
        CControlUI* start = loading != nullptr ? m_pm.FindControl(L"CheckLayout") : nullptr;
        if (loading != nullptr && start != nullptr) {
            start->SetVisible(false);
            loading->SetVisible(true);
            SetTimer(m_hWnd, kIndicatorTimer, kIndicatorPeriodMs, nullptr);
            AdvanceIndicator();
            // _beginthreadex rather than CreateThread: the worker uses the C
            // runtime (streams, locale), which needs its per-thread data.
            m_worker = reinterpret_cast<HANDLE>(
                _beginthreadex(nullptr, 0, &CStartCheckWnd::WorkerMain, this, 0, nullptr));
        }
    }
    WindowImplBase::OnClick(msg);
}

LRESULT CStartCheckWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kIndicatorTimer) {
        AdvanceIndicator();
        return 0;
    }
    if (message == WM_DESTROY)
        KillTimer(m_hWnd, kIndicatorTimer);
    return WindowImplBase::HandleMessage(message, wParam, lParam);
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
        CSystemChecker::Instance().Run(LanguageForIndex(window->m_language).code);
        window->ShowResult();
    } catch (...) {
        // A failed check leaves the waiting page up; the user can still
        // close the window, which ends the program.
    }
    return 0;
}

void CStartCheckWnd::ShowResult() {
    auto result = std::make_unique<CCheckResultWnd>(L"checkresultwnd.xml", m_language, -1);
    result->Create(nullptr, nullptr, WINDOW_STYLE_DIALOG, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
    result->CenterWindow();
    if (const CCheckReport* report = CSystemChecker::Instance().Report())
        PresentReport(*result, *report, report->adapter_names.size() > 1);
    ShowWindow(false, true);
    result->ShowModal();
    Close(1);
    result.reset();
}

// The first window of check mode: a start page whose button starts the whole
// check on one worker thread, and a waiting page shown while it runs. The
// worker then shows the result window on its own thread and finally closes
// this window, which ends the program.
#pragma once

#include "support/win_handles.h"
#include "toolkit/window.h"

#include <string>

class CCheckReport;

// What the start button sets going, replaceable by tests: the check (it may
// throw), the report it leaves (null before the first run), and the start
// of the worker thread (null when no thread could be started).
struct StartCheckSteps {
    void (*runCheck)(const wchar_t* language);
    const CCheckReport* (*report)();
    HANDLE (*startWorker)(unsigned(__stdcall* entry)(void*), void* argument);
};
// The process-wide checker's run and report, and _beginthreadex.
const StartCheckSteps& RealStartCheckSteps();

class CStartCheckWnd : public WindowImplBase {
public:
    explicit CStartCheckWnd(int languageIndex,
                            const StartCheckSteps& steps = RealStartCheckSteps());
    ~CStartCheckWnd() override;

    // The latest worker thread, or null while none was started. The window
    // keeps the handle for its whole life.
    HANDLE GetWorkerThread() const { return m_worker.get(); }
    int GetLanguage() const { return m_language; }

protected:
    const wchar_t* GetWindowClassName() const override { return L"StartCheck_Wnd"; }
    std::wstring GetSkinFolder() override;
    std::wstring GetSkinFile() override { return L"start.xml"; }
    void InitWindow() override;
    void OnClick(TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static unsigned __stdcall WorkerMain(void* window);
    // Runs on the worker thread once the check is done or has failed.
    void ShowResult();
    // Shows the waiting page or the start page again; main thread only.
    // False when the layout lacks either page: then nothing changes.
    bool ShowWaitingPage(bool waiting);
    void AdvanceIndicator();

    StartCheckSteps m_steps;
    HandleOwner m_worker;
    int m_language;
    unsigned m_indicatorStep = 0;
};

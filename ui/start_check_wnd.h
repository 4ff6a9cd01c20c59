// The first window of check mode: a start page whose button starts the whole
// check on one worker thread, and a waiting page shown while it runs. The
// worker then shows the result window on its own thread and finally closes
// this window, which ends the program.
#pragma once

#include "toolkit/window.h"

#include <string>

class CStartCheckWnd : public WindowImplBase {
public:
    explicit CStartCheckWnd(int languageIndex);
    ~CStartCheckWnd() override;

    // The worker thread, or null before the start button was pressed. The
    // window keeps the handle for its whole life.
    HANDLE GetWorkerThread() const { return m_worker; }
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
    // Runs on the worker thread once the check is done.
    void ShowResult();
    void AdvanceIndicator();

    HANDLE m_worker = nullptr;
    int m_language;
    unsigned m_indicatorStep = 0;
};

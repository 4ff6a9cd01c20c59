// The window that shows a check report, in check mode (layout
// "checkresultwnd.xml", CHECK_RESULT_CHECK_MODE) or in setup mode (layout
// "checkresult_setupwnd.xml", the installer's check result).
#pragma once

#include "engine/check_report.h"
#include "support/exit_codes.h"
#include "toolkit/window.h"

#include <string>

class CCheckResultWnd : public WindowImplBase {
public:
    // Sets the calling thread's UI language: the strings loaded afterwards on
    // this thread come in the window's language.
    CCheckResultWnd(const std::wstring& layoutFile, int languageIndex, int checkResult);
    ~CCheckResultWnd() override;

    // 0, or 5 after an exit button in setup mode.
    int GetExitCode() const { return m_exitCode; }
    int GetCheckResult() const { return m_checkResult; }

    // The presentation operations, run once in this order before the modal
    // loop (PresentReport does that).
    void ShowSystemInfo(const SystemInfoText& info, int driverFlags);
    void ShowOverallResult(int game, int video, int steamvr);
    void ShowCpuSupport(int game, int video);
    void ShowMemSupport(int memory);
    void ShowGpu1Support(int game, int video);
    void ShowOsSupport(int os);
    void ShowSteamVr(int steamvr);
    void ShowGpu2Support(int game, int video);

    CControlUI* CreateControl(const wchar_t* className) override;

    // The findings as the window shows them now, as plain text; Ctrl+C (or
    // Ctrl+Insert) puts it on the clipboard, as in Windows' message boxes.
    std::wstring GetFindingsText();

    // Opens a web page; returns false when it could not be opened. Tests
    // replace it; the default goes through the desktop shell when this
    // process is elevated, else through ShellExecuteW (page_opening.h).
    using PageOpener = bool (*)(const std::wstring& address);
    static void SetPageOpener(PageOpener opener);

protected:
    const wchar_t* GetWindowClassName() const override { return L"CheckResult_Wnd"; }
    std::wstring GetSkinFolder() override;
    std::wstring GetSkinFile() override { return m_layoutFile; }
    void InitWindow() override;
    void OnClick(TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowVerdictTabs(const wchar_t* gameTab, const wchar_t* videoTab, int game, int video);
    void SelectTab(const wchar_t* name, int page);
    void SetControlText(const wchar_t* name, const std::wstring& text);
    void SetRed(const wchar_t* name);
    void SetShown(const wchar_t* name, bool visible);
    // The text of a named control while it is shown, else nothing.
    std::wstring ShownText(const wchar_t* name);

    std::wstring m_layoutFile;
    int m_language;
    int m_exitCode = 0;
    int m_checkResult;
};

// Runs the presentation sequence. `secondAdapter` is the caller's condition
// for showing adapter 2's verdicts.
void PresentReport(CCheckResultWnd& window, const CCheckReport& report, bool secondAdapter);

#include "ui/check_result_wnd.h"

#include "engine/driver_check.h"
#include "support/elevation.h"
#include "support/language.h"
#include "support/text.h"
#include "ui/check_result_controls.h"
#include "ui/clipboard_win.h"
#include "ui/desktop_shell_win.h"
#include "ui/findings_text.h"
#include "ui/page_opening.h"
#include "ui/result_rules.h"
#include "ui/skin_folder_win.h"
#include "ui/string_ids.h"
#include "ui/string_table.h"

namespace {

// Opaque red, written the way the layouts write colours.
constexpr uint32_t kRedText = 0xFFFF0000u;

// The second adapter's two rows in checkresult.xml: 62 px each with 8 px
// between and before them. The check window grows by them; the results
// area of both windows gets this fixed height. Both are authored pixels,
// scaled by the toolkit like the layout's own.
constexpr int kSecondAdapterGrowth = 140;
constexpr int kTwoAdapterResultsHeight = 750;

bool ShellOpen(const std::wstring& address) {
    return OpenWebPage(address, IsProcessElevated(),
                       PageOpeners{&OpenThroughDesktopShell, &OpenWithShellExecute});
}

CCheckResultWnd::PageOpener g_opener = &ShellOpen;

std::wstring Str(UINT id) {
    return LoadUiString(id, kStringChars);
}

bool KeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// The texts of the labels shown inside a control, in layout order: a
// verdict tab's shown page, the overall answer. Buttons are left out, they
// are actions rather than findings.
std::vector<std::wstring> ShownTexts(CControlUI* control) {
    std::vector<std::wstring> texts;
    if (control != nullptr && control->IsShown())
        VisitShown(*control, [&texts](CControlUI& c) {
            if (c.AsContainer() == nullptr && dynamic_cast<CLabelUI*>(&c) != nullptr &&
                dynamic_cast<CButtonUI*>(&c) == nullptr && !c.GetText().empty())
                texts.push_back(c.GetText());
            return VisitStep::Enter;
        });
    return texts;
}

// A verdict tab names its column for screen readers; the clipboard uses the
// same words.
FindingsCell VerdictCell(CControlUI* tab) {
    FindingsCell cell;
    if (tab == nullptr)
        return cell;
    cell.column = tab->GetAccessibleName();
    for (const std::wstring& text : ShownTexts(tab))
        cell.verdict += text;
    return cell;
}

} // namespace

CCheckResultWnd::CCheckResultWnd(const std::wstring& layoutFile, int languageIndex, int checkResult)
    : m_layoutFile(layoutFile), m_language(languageIndex), m_checkResult(checkResult) {
    SetUiLanguage(LanguageForIndex(languageIndex).id);
}

CCheckResultWnd::~CCheckResultWnd() = default;

void CCheckResultWnd::SetPageOpener(PageOpener opener) {
    g_opener = opener != nullptr ? opener : &ShellOpen;
}

std::wstring CCheckResultWnd::GetSkinFolder() {
    return SkinFolderFor(LanguageForIndex(m_language).skinFolder);
}

CControlUI* CCheckResultWnd::CreateControl(const wchar_t* className) {
    const std::wstring name = className != nullptr ? className : L"";
    if (AsciiEqualNoCase(name, L"CheckResultUI"))
        return new CCheckResultUI;
    if (AsciiEqualNoCase(name, L"CheckHeaderUI"))
        return new CCheckHeaderUI;
    return WindowImplBase::CreateControl(className);
}

void CCheckResultWnd::InitWindow() {
    SetWindowTextW(m_hWnd, Str(IDS_RESULT_TITLE).c_str());
    if (m_checkResult == CHECK_RESULT_CHECK_MODE)
        return;
    // Setup mode: the installer owns the taskbar entry; the window has one
    // way out per answer, so no close button.
    SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE,
                      GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    if (CControlUI* close = m_pm.FindControl(L"closebtn"))
        close->SetVisible(false);
    SelectTab(L"tab_setup_result", SetupResultPage(m_checkResult));
}

void CCheckResultWnd::OnClick(TNotifyUI& msg) {
    const std::wstring name = msg.pSender != nullptr ? msg.pSender->GetName() : std::wstring();
    const std::wstring address = LinkAddress(name, m_language);
    if (!address.empty()) {
        if (!g_opener(address)) {
            MessageBoxW(nullptr, L"open webpage failed", L"Information", MB_OK);
            return;
        }
    } else if (name == L"btn_setup_exit" || name == L"btn_setup_exit2") {
        m_exitCode = SETUP_EXIT_STOP;
        Close(1);
    } else if (name == L"btn_setup_continue" || name == L"btn_setup_ignore") {
        m_exitCode = SETUP_EXIT_CONTINUE;
        Close(1);
    }
    WindowImplBase::OnClick(msg);
}

std::wstring CCheckResultWnd::GetFindingsText() {
    Findings findings;
    findings.title = Str(IDS_RESULT_TITLE);
    for (const FindingsRowSource& source : FindingsRowSources()) {
        FindingsRow row;
        row.line = ShownText(source.line);
        if (!row.line.empty() && source.labelId != 0)
            row.line = ComposeLabelLine(Str(source.labelId), row.line);
        if (source.message != nullptr)
            row.message = ShownText(source.message);
        for (const wchar_t* tab : {source.gamesTab, source.videoTab})
            if (tab != nullptr)
                row.cells.push_back(VerdictCell(m_pm.FindControl(tab)));
        findings.rows.push_back(row);
    }
    findings.answer = ShownTexts(m_pm.FindControl(kFindingsAnswerTab));
    return FindingsText(findings);
}

LRESULT CCheckResultWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && (wParam == 'C' || wParam == VK_INSERT) && KeyHeld(VK_CONTROL) &&
        !KeyHeld(VK_MENU) && !KeyHeld(VK_SHIFT)) {
        // Nothing in the window changes, so a failed copy is told by the
        // system's warning sound rather than left silent.
        if (!PutTextOnClipboard(m_hWnd, GetFindingsText()))
            MessageBeep(MB_ICONWARNING);
        return 0;
    }
    return WindowImplBase::HandleMessage(message, wParam, lParam);
}

std::wstring CCheckResultWnd::ShownText(const wchar_t* name) {
    CControlUI* control = m_pm.FindControl(name);
    return control != nullptr && control->IsShown() ? control->GetText() : std::wstring();
}

void CCheckResultWnd::SelectTab(const wchar_t* name, int page) {
    if (page < 0)
        return;
    if (auto* tab = dynamic_cast<CTabLayoutUI*>(m_pm.FindControl(name)))
        tab->SelectItem(page);
}

void CCheckResultWnd::SetControlText(const wchar_t* name, const std::wstring& text) {
    if (CControlUI* control = m_pm.FindControl(name))
        control->SetText(text);
}

void CCheckResultWnd::SetRed(const wchar_t* name) {
    if (auto* label = dynamic_cast<CLabelUI*>(m_pm.FindControl(name)))
        label->SetTextColor(kRedText);
}

void CCheckResultWnd::SetShown(const wchar_t* name, bool visible) {
    if (CControlUI* control = m_pm.FindControl(name))
        control->SetVisible(visible);
}

void CCheckResultWnd::ShowVerdictTabs(const wchar_t* gameTab, const wchar_t* videoTab, int game,
                                      int video) {
    const VerdictTabs pages = TabsForVerdicts(game, video);
    SelectTab(gameTab, pages.game);
    SelectTab(videoTab, pages.video);
}

void CCheckResultWnd::ShowSystemInfo(const SystemInfoText& info, int driverFlags) {
    SetControlText(L"ostext", ComposeOsLine(Str(IDS_LABEL_SYSTEM), info.os,
                                            LoadUiString(IDS_UNIT_BIT, kUnitChars)));
    SetControlText(L"cputext", ComposeLabelLine(Str(IDS_LABEL_CPU), info.cpu));
    SetControlText(L"memtext", ComposeLabelLine(Str(IDS_LABEL_MEMORY), info.memory));
    SetControlText(L"gra1text", ComposeLabelLine(Str(IDS_LABEL_GPU1), info.gpu[0]));
    if (!info.gpu[1].empty())
        SetControlText(L"gra2text", ComposeLabelLine(Str(IDS_LABEL_GPU2), info.gpu[1]));

    const std::wstring note = LoadUiString(IDS_DRIVER_NEEDS_UPGRADE, kNoteChars);
    const bool outdated1 = (driverFlags & DRIVER_FLAG_GPU1_OUTDATED) != 0;
    SetControlText(L"display_versiontext",
                   ComposeDriverLine(Str(IDS_LABEL_DRIVER), info.dispdriver[0], outdated1, note));
    if (outdated1)
        SetShown(L"nvdriver", true);

    if (info.dispdriver[1].empty())
        return;
    const bool outdated2 = (driverFlags & DRIVER_FLAG_GPU2_OUTDATED) != 0;
    SetControlText(L"display_versiontext2",
                   ComposeDriverLine(Str(IDS_LABEL_DRIVER), info.dispdriver[1], outdated2, note));
    if (outdated2)
        SetShown(L"nvdriver2", true);
    SetShown(L"VL_second_disp_card", true);
    if (m_checkResult == CHECK_RESULT_CHECK_MODE && m_hWnd != nullptr) {
        // The check layout makes room for the second adapter's rows by
        // growing; the setup layout is already tall enough.
        RECT r;
        GetWindowRect(m_hWnd, &r);
        SetWindowPos(m_hWnd, nullptr, 0, 0, r.right - r.left,
                     r.bottom - r.top + m_pm.Scale(kSecondAdapterGrowth),
                     SWP_NOZORDER | SWP_NOMOVE);
        CenterWindow();
    }
    if (CControlUI* area = m_pm.FindControl(L"ui_check_result"))
        area->SetFixedHeight(kTwoAdapterResultsHeight);
}

void CCheckResultWnd::ShowOverallResult(int game, int video, int steamvr) {
    SelectTab(L"tab_result", OverallResultPage(game, video, steamvr));
}

void CCheckResultWnd::ShowCpuSupport(int game, int video) {
    ShowVerdictTabs(L"tab_cpu_support_game", L"tab_cpu_support_video", game, video);
}

void CCheckResultWnd::ShowMemSupport(int memory) {
    SelectTab(L"tab_mem_support_game", MemoryTabPage(memory));
    SelectTab(L"tab_mem_support_video", MemoryTabPage(memory));
}

void CCheckResultWnd::ShowGpu1Support(int game, int video) {
    ShowVerdictTabs(L"tab_disp_support_game", L"tab_disp_support_video", game, video);
}

void CCheckResultWnd::ShowOsSupport(int os) {
    if (os == VERDICT_SUPPORTED) {
        SetControlText(L"ossupporttext", Str(IDS_OS_SUPPORTED));
        return;
    }
    SetControlText(L"ossupporttext", Str(IDS_OS_UNSUPPORTED));
    SetRed(L"ossupporttext");
}

void CCheckResultWnd::ShowSteamVr(int steamvr) {
    if (steamvr == VERDICT_SUPPORTED) {
        SetControlText(L"steamtext", Str(IDS_STEAMVR_INSTALLED));
        SetShown(L"steamhelp", false);
        return;
    }
    SetControlText(L"steamtext", Str(IDS_STEAMVR_NOT_INSTALLED));
    SetRed(L"steamtext");
}

void CCheckResultWnd::ShowGpu2Support(int game, int video) {
    ShowVerdictTabs(L"tab_disp_support_game2", L"tab_disp_support_video2", game, video);
}

void PresentReport(CCheckResultWnd& window, const CCheckReport& report, bool secondAdapter) {
    window.ShowSystemInfo(report.display_info, report.driver_flags);
    window.ShowOverallResult(report.game_result, report.video_result, report.steamvr);
    window.ShowCpuSupport(report.cpu_game, report.cpu_video);
    window.ShowMemSupport(report.mem_support);
    window.ShowGpu1Support(report.gpu1_game, report.gpu1_video);
    window.ShowOsSupport(report.os_support);
    window.ShowSteamVr(report.steamvr);
    if (secondAdapter)
        window.ShowGpu2Support(report.gpu2_game, report.gpu2_video);
}

// The result window built from the real skins: setup adjustments, the
// presentation in three languages, links and the setup buttons through the
// window's own mouse path.
#include "engine/driver_check.h"
#include "support/elevation.h"
#include "support/text.h"
#include "tests/engine/checker_child.h"
#include "tests/win/temp_dir.h"
#include "tests/toolkit/gui_helpers.h"
#include "tests/ui/result_window_helpers.h"
#include "ui/check_result_controls.h"
#include "ui/check_result_wnd.h"
#include "ui/string_table.h"
#include "toolkit/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

CControlUI* Find(CCheckResultWnd& w, const wchar_t* name) {
    return w.GetPaintManager().FindControl(name);
}

int Page(CCheckResultWnd& w, const wchar_t* name) {
    auto* tab = dynamic_cast<CTabLayoutUI*>(Find(w, name));
    return tab != nullptr ? tab->GetCurSel() : -100;
}

uint32_t TextColor(CCheckResultWnd& w, const wchar_t* name) {
    auto* label = dynamic_cast<CLabelUI*>(Find(w, name));
    return label != nullptr ? label->GetTextColor() : 0;
}

std::wstring Title(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

int RunClicking(CCheckResultWnd& window, const wchar_t* name) {
    POINT centre;
    if (!ControlCentre(window.GetPaintManager(), name, centre))
        return -1;
    ModalWatchdog watchdog(window);
    PostClick(window, centre);
    const UINT loop = window.ShowModal();
    return loop == kWatchdogCode ? -2 : window.GetExitCode();
}

std::vector<std::wstring> g_opened;
bool RecordPage(const std::wstring& address) {
    g_opened.push_back(address);
    return true;
}

} // namespace

TEST(ResultWindowTest, SetupModeHidesCloseDropsTaskbarButtonAndPicksThePrompt) {
    for (int code : {0, 3, 1, -5}) {
        auto w = OpenSetup(1, code);
        ASSERT_NE(w, nullptr) << code;
        EXPECT_EQ(Title(*w), L"Testing Result");
        EXPECT_FALSE(Find(*w, L"closebtn")->IsVisible());
        EXPECT_NE(GetWindowLongPtrW(*w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
        EXPECT_EQ(Page(*w, L"tab_setup_result"), code == 0 ? 1 : 0) << code;
    }
}

TEST(ResultWindowTest, CheckModeKeepsCloseButtonAndTitleInEachLanguage) {
    const wchar_t* titles[] = {L"\u68C0\u6D4B\u7ED3\u679C", L"Testing Result",
                               L"\u30C6\u30B9\u30C8\u7D50\u679C"};
    for (int language = 0; language < 3; ++language) {
        auto w = OpenCheck(language);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Title(*w), titles[language]);
        EXPECT_TRUE(Find(*w, L"closebtn")->IsVisible());
        EXPECT_EQ(GetWindowLongPtrW(*w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
        EXPECT_EQ(Find(*w, L"tab_setup_result"), nullptr);
    }
}

TEST(ResultWindowTest, EverySkinHasTheControlsOfTheContractInTheirStartingState) {
    const wchar_t* always[] = {L"tab_result",
                               L"tab_cpu_support_game",
                               L"tab_cpu_support_video",
                               L"tab_disp_support_game",
                               L"tab_disp_support_video",
                               L"tab_disp_support_game2",
                               L"tab_disp_support_video2",
                               L"tab_mem_support_game",
                               L"tab_mem_support_video",
                               L"ostext",
                               L"cputext",
                               L"memtext",
                               L"gra1text",
                               L"gra2text",
                               L"display_versiontext",
                               L"display_versiontext2",
                               L"ossupporttext",
                               L"steamtext",
                               L"ui_check_result",
                               L"configrec",
                               L"website"};
    for (int language = 0; language < 3; ++language) {
        for (bool setup : {false, true}) {
            auto w = setup ? OpenSetup(language, 2) : OpenCheck(language);
            ASSERT_NE(w, nullptr);
            for (const wchar_t* name : always)
                EXPECT_NE(Find(*w, name), nullptr) << language << " " << name;
            EXPECT_EQ(dynamic_cast<CTabLayoutUI*>(Find(*w, L"tab_result"))->GetCount(), 4);
            EXPECT_EQ(dynamic_cast<CTabLayoutUI*>(Find(*w, L"tab_cpu_support_game"))->GetCount(),
                      3);
            EXPECT_EQ(dynamic_cast<CTabLayoutUI*>(Find(*w, L"tab_mem_support_video"))->GetCount(),
                      2);
            EXPECT_FALSE(Find(*w, L"nvdriver")->IsVisible());
            EXPECT_FALSE(Find(*w, L"nvdriver2")->IsVisible());
            EXPECT_FALSE(Find(*w, L"VL_second_disp_card")->IsVisible());
            EXPECT_TRUE(Find(*w, L"steamhelp")->IsVisible());
            if (setup) {
                EXPECT_EQ(dynamic_cast<CTabLayoutUI*>(Find(*w, L"tab_setup_result"))->GetCount(),
                          2);
                for (const wchar_t* b : {L"btn_setup_exit", L"btn_setup_exit2",
                                         L"btn_setup_continue", L"btn_setup_ignore"})
                    EXPECT_NE(Find(*w, b), nullptr) << b;
            }
        }
    }
}

TEST(ResultWindowTest, PresentsTabsTextsColoursAndButtonsInEnglish) {
    auto w = OpenSetup(1, 3);
    ASSERT_NE(w, nullptr);
    const CCheckReport report = TwoAdapterReport();
    PresentReport(*w, report, true);

    EXPECT_EQ(Page(*w, L"tab_result"), 3);           // games, SteamVR absent
    EXPECT_EQ(Page(*w, L"tab_cpu_support_game"), 0); // game 2 wins over video 0
    EXPECT_EQ(Page(*w, L"tab_cpu_support_video"), 0);
    EXPECT_EQ(Page(*w, L"tab_mem_support_game"), 1); // 0 reads as not supported
    EXPECT_EQ(Page(*w, L"tab_mem_support_video"), 1);
    EXPECT_EQ(Page(*w, L"tab_disp_support_game"), 1);
    EXPECT_EQ(Page(*w, L"tab_disp_support_video"), 0); // 7: left on the layout's page
    EXPECT_EQ(Page(*w, L"tab_disp_support_game2"), 2);
    EXPECT_EQ(Page(*w, L"tab_disp_support_video2"), 0);

    EXPECT_EQ(Find(*w, L"ostext")->GetText(), L"System: Microsoft Windows 10 Pro(64) Bit");
    EXPECT_EQ(Find(*w, L"cputext")->GetText(), L"CPU: Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz");
    EXPECT_EQ(Find(*w, L"memtext")->GetText(), L"Memory: 16GB");
    EXPECT_EQ(Find(*w, L"gra1text")->GetText(), L"Display Card: NVIDIA GeForce GTX 1060 6GB ");
    EXPECT_EQ(Find(*w, L"gra2text")->GetText(), L"Display Card 2: Intel(R) UHD Graphics 630 ");
    EXPECT_EQ(Find(*w, L"display_versiontext")->GetText(),
              L"Display Driver: 23.21.13.8813(Needs Upgrade)");
    EXPECT_EQ(Find(*w, L"display_versiontext2")->GetText(),
              L"Display Driver: 26.20.100.7262(Needs Upgrade)");
    EXPECT_TRUE(Find(*w, L"nvdriver")->IsVisible());
    EXPECT_TRUE(Find(*w, L"nvdriver2")->IsVisible());

    EXPECT_EQ(Find(*w, L"ossupporttext")->GetText(), L"N5 HMD can run in the current system");
    EXPECT_NE(TextColor(*w, L"ossupporttext"), 0xFFFF0000u); // the layout's colour
    EXPECT_EQ(Find(*w, L"steamtext")->GetText(), L"Not Installed");
    EXPECT_EQ(TextColor(*w, L"steamtext"), 0xFFFF0000u);
    EXPECT_TRUE(Find(*w, L"steamhelp")->IsVisible());
}

TEST(ResultWindowTest, UnsupportedOsIsRedAndPresentSteamVrHidesItsHelp) {
    auto w = OpenCheck(1);
    ASSERT_NE(w, nullptr);
    CCheckReport report;
    report.os_support = 0;
    report.steamvr = 2;
    report.game_result = 2;
    report.video_result = 2;
    report.display_info.dispdriver[0] = L"1.2\n3";
    PresentReport(*w, report, false);
    EXPECT_EQ(Find(*w, L"ossupporttext")->GetText(), L"N5 HMD cannot run in the current system");
    EXPECT_EQ(TextColor(*w, L"ossupporttext"), 0xFFFF0000u);
    EXPECT_EQ(Find(*w, L"steamtext")->GetText(), L"Installed");
    EXPECT_NE(TextColor(*w, L"steamtext"), 0xFFFF0000u);
    EXPECT_FALSE(Find(*w, L"steamhelp")->IsVisible());
    EXPECT_EQ(Page(*w, L"tab_result"), 2);
    // Not outdated: the line feed stays, no download button.
    EXPECT_EQ(Find(*w, L"display_versiontext")->GetText(), L"Display Driver: 1.2\n3");
    EXPECT_FALSE(Find(*w, L"nvdriver")->IsVisible());
    EXPECT_EQ(Find(*w, L"gra2text")->GetText(), L""); // the layout's text
}

TEST(ResultWindowTest, ChineseAndJapaneseLines) {
    auto jp = OpenSetup(2, 0);
    ASSERT_NE(jp, nullptr);
    CCheckReport report;
    report.display_info.os = L"Windows 7(64)";
    report.display_info.dispdriver[0] = L"9.1";
    report.driver_flags = DRIVER_FLAG_GPU1_OUTDATED;
    PresentReport(*jp, report, false);
    EXPECT_EQ(Find(*jp, L"ostext")->GetText(),
              L"\u30B7\u30B9\u30C6\u30E0\uFF1AWindows 7(64) \u30D3\u30C3\u30C8");
    EXPECT_EQ(Find(*jp, L"display_versiontext")->GetText(),
              L"\u30D0\u30FC\u30B8\u30E7\u30F3\uFF1A9."
              L"1\uFF08\u30D0\u30FC\u30B8\u30E7\u30F3\u304C\u4F4E\u3059\u304E\u307E"
              L"\u3059\uFF09");
    EXPECT_EQ(Page(*jp, L"tab_result"), 0);

    auto cn = OpenSetup(0, 0);
    ASSERT_NE(cn, nullptr);
    PresentReport(*cn, report, false);
    EXPECT_EQ(Find(*cn, L"ostext")->GetText(),
              L"\u64CD\u4F5C\u7CFB\u7EDF\uFF1AWindows 7(64) \u4F4D");
    EXPECT_EQ(Find(*cn, L"steamtext")->GetText(), L"\u672A\u5B89\u88C5");
}

TEST(ResultWindowTest, SecondAdapterGrowsTheCheckWindowOnly) {
    for (bool setup : {false, true}) {
        auto w = setup ? OpenSetup(1, 2) : OpenCheck(1);
        ASSERT_NE(w, nullptr);
        RECT before;
        GetWindowRect(*w, &before);
        const int heightBefore = Find(*w, L"ui_check_result")->GetFixedHeight();
        PresentReport(*w, TwoAdapterReport(), true);
        RECT after;
        GetWindowRect(*w, &after);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        EXPECT_EQ((after.bottom - after.top) - (before.bottom - before.top), setup ? 0 : 140)
            << setup;
        EXPECT_TRUE(Find(*w, L"VL_second_disp_card")->IsVisible());
        EXPECT_EQ(Find(*w, L"ui_check_result")->GetFixedHeight(), 750);
        EXPECT_NE(heightBefore, 750);
        if (!setup) {
            // Centred again after growing.
            const RECT work = WorkAreaOf(*w);
            EXPECT_LE(std::abs((after.top + after.bottom) - (work.top + work.bottom)), 1);
        }
        // Every row fits: the last row's bottom stays inside the area.
        w->GetPaintManager().UpdateLayout();
        EXPECT_LE(Find(*w, L"website")->GetPos().bottom,
                  Find(*w, L"ui_check_result")->GetPos().bottom);
    }
}

TEST(ResultWindowTest, SecondAdapterTextWithoutDriverLeavesItsRowsHidden) {
    auto w = OpenSetup(1, 2);
    ASSERT_NE(w, nullptr);
    CCheckReport report = TwoAdapterReport();
    report.display_info.dispdriver[1].clear();
    PresentReport(*w, report, !report.display_info.gpu[1].empty());
    EXPECT_EQ(Find(*w, L"gra2text")->GetText(), L"Display Card 2: Intel(R) UHD Graphics 630 ");
    EXPECT_EQ(Page(*w, L"tab_disp_support_game2"), 2);
    EXPECT_FALSE(Find(*w, L"VL_second_disp_card")->IsVisible());
    EXPECT_NE(Find(*w, L"ui_check_result")->GetFixedHeight(), 750);
    // What cannot be seen is not copied either.
    EXPECT_EQ(w->GetFindingsText().find(L"Display Card 2"), std::wstring::npos);
}

TEST(ResultWindowTest, FindingsTextIsWhatTheWindowShows) {
    auto w = OpenSetup(1, 3);
    ASSERT_NE(w, nullptr);
    PresentReport(*w, TwoAdapterReport(), true);
    const auto cells = [](const char* games, const char* video) {
        return L", " + SkinText("en", "COL_GAMES") + L": " + SkinText("en", games) + L", " +
               SkinText("en", "COL_VIDEO") + L": " + SkinText("en", video) + L"\r\n";
    };
    const std::wstring answer =
        SkinText("en", "RESULT3_TITLE") + L"\r\n" + SkinText("en", "RESULT3_TEXT") + L"\r\n";
    // Adapter 1's video verdict 7 left its tab on the layout's page.
    EXPECT_EQ(w->GetFindingsText(),
              L"Testing Result\r\n"
              L"System: Microsoft Windows 10 Pro(64) Bit, N5 HMD can run in the current system\r\n"
              L"CPU: Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz" +
                  cells("TXT_SUPPORTED", "TXT_SUPPORTED") + L"Memory: 16GB" +
                  cells("TXT_UNSUPPORTED", "TXT_UNSUPPORTED") +
                  L"Display Card: NVIDIA GeForce GTX 1060 6GB" +
                  cells("TXT_UNSUPPORTED", "TXT_SUPPORTED") +
                  L"Display Driver: 23.21.13.8813(Needs Upgrade)\r\n"
                  L"Display Card 2: Intel(R) UHD Graphics 630" +
                  cells("TXT_UNKNOWN", "TXT_SUPPORTED") +
                  L"Display Driver: 26.20.100.7262(Needs Upgrade)\r\nSteamVR: Not Installed\r\n" +
                  answer);
}

namespace {

// A contrast theme for one test: the question forced to yes, and dark system
// colours that differ from each other and from the skin's, so that every
// part is told by its colour. Restored afterwards.
constexpr int kThemeParts[] = {COLOR_WINDOW,  COLOR_WINDOWTEXT, COLOR_HOTLIGHT,     COLOR_BTNFACE,
                               COLOR_BTNTEXT, COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT};
constexpr COLORREF kThemeColors[] = {RGB(0, 0, 0),    RGB(255, 255, 255), RGB(255, 255, 0),
                                     RGB(40, 40, 72), RGB(160, 255, 160), RGB(26, 235, 255),
                                     RGB(0, 0, 0)};
constexpr int kThemeSize = sizeof(kThemeParts) / sizeof(kThemeParts[0]);
struct ForcedContrastTheme {
    COLORREF saved[kThemeSize] = {};
    bool set = false;
    ForcedContrastTheme() {
        for (int i = 0; i < kThemeSize; ++i)
            saved[i] = GetSysColor(kThemeParts[i]);
        set = SetSysColors(kThemeSize, kThemeParts, kThemeColors) != FALSE;
        SetContrastQuery([] { return true; });
    }
    ~ForcedContrastTheme() {
        SetContrastQuery(nullptr);
        SetSysColors(kThemeSize, kThemeParts, saved);
    }
};

COLORREF Sys(int part) {
    return GetSysColor(part);
}

// Pixels of a colour inside a control, as painted now.
int CountIn(CCheckResultWnd& w, const RECT& r, COLORREF color) {
    UpdateWindow(w);
    HDC dc = GetDC(w);
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += GetPixel(dc, x, y) == color ? 1 : 0;
    ReleaseDC(w, dc);
    return count;
}

COLORREF PixelAt(CCheckResultWnd& w, int x, int y) {
    UpdateWindow(w);
    HDC dc = GetDC(w);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return color;
}

} // namespace

TEST(ResultWindowTest, ContrastThemePaintsWithTheSystemColours) {
    const ForcedContrastTheme theme;
    ASSERT_TRUE(theme.set);
    auto w = OpenSetup(1, 3);
    ASSERT_NE(w, nullptr);
    PresentReport(*w, TwoAdapterReport(), true);
    w->GetPaintManager().UpdateLayout();
    const COLORREF text = Sys(COLOR_WINDOWTEXT);
    const RECT cpu = Find(*w, L"cputext")->GetPos();
    const RECT question = Find(*w, L"tab_setup_result")->GetPos();
    const RECT button = Find(*w, L"btn_setup_continue")->GetPos();
    const RECT link = Find(*w, L"configrec")->GetPos();
    const int buttonMiddle = (button.top + button.bottom) / 2;

    // Fills are gone: header, rows, the question's band and a link show the
    // window colour; text is in the theme's colour, none in the skin's.
    EXPECT_EQ(PixelAt(*w, 2, 2), Sys(COLOR_WINDOW));
    EXPECT_EQ(PixelAt(*w, cpu.left - 8, cpu.top + 3), Sys(COLOR_WINDOW));
    EXPECT_EQ(PixelAt(*w, question.left + 3, question.top + 3), Sys(COLOR_WINDOW));
    EXPECT_EQ(PixelAt(*w, link.left + 4, (link.top + link.bottom) / 2), Sys(COLOR_WINDOW));
    EXPECT_GT(CountIn(*w, cpu, text), 0);
    EXPECT_EQ(CountIn(*w, cpu, RGB(0x1F, 0x29, 0x37)), 0);
    EXPECT_GT(CountIn(*w, Find(*w, L"steamtext")->GetPos(), text), 0); // red in the skin
    EXPECT_GT(CountIn(*w, link, Sys(COLOR_HOTLIGHT)), 0);
    // A push button: face and text.
    EXPECT_EQ(PixelAt(*w, button.left + 4, buttonMiddle), Sys(COLOR_BTNFACE));
    EXPECT_GT(CountIn(*w, button, Sys(COLOR_BTNTEXT)), 0);
    // Its frame, along the top edge (where anti-aliasing puts it).
    EXPECT_GT(CountIn(*w, RECT{button.left + 20, button.top, button.right - 20, button.top + 2},
                      Sys(COLOR_BTNTEXT)),
              button.right - button.left - 40 - 1);
    EXPECT_EQ(w->GetPaintManager().GetAccentColor(), SystemArgb(COLOR_HIGHLIGHT));

    // Each verdict cell says its verdict in words, in the text colour, and
    // its icon is still drawn.
    for (const wchar_t* name : {L"tab_cpu_support_game", L"tab_mem_support_video",
                                L"tab_disp_support_game", L"tab_disp_support_game2"}) {
        auto* tab = dynamic_cast<CTabLayoutUI*>(Find(*w, name));
        auto* page = tab != nullptr ? dynamic_cast<CContainerUI*>(tab->GetItemAt(tab->GetCurSel()))
                                    : nullptr;
        ASSERT_TRUE(page != nullptr && page->GetCount() == 2) << name;
        const RECT icon = page->GetItemAt(0)->GetPos();
        EXPECT_FALSE(page->GetItemAt(1)->GetText().empty()) << name;
        EXPECT_GT(CountIn(*w, page->GetItemAt(1)->GetPos(), text), 0) << name;
        EXPECT_LT(CountIn(*w, icon, Sys(COLOR_WINDOW)),
                  (icon.right - icon.left) * (icon.bottom - icon.top) / 2)
            << name;
    }

    // Held open for a screenshot (scripts/screenshots) until Escape.
    if (GetEnvironmentVariableW(L"TVX_HOLD_CONTRAST_WINDOW", nullptr, 0) > 0) {
        ModalWatchdog watchdog(*w, 60000);
        w->ShowModal();
        return;
    }
    // The window follows the system: colours changed while it is open, and
    // the theme switched off.
    const int part = COLOR_WINDOW;
    const COLORREF changed = RGB(0, 0, 96);
    ASSERT_TRUE(SetSysColors(1, &part, &changed));
    SendMessageW(*w, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(PixelAt(*w, question.left + 3, question.top + 3), changed);
    SetContrastQuery([] { return false; });
    SendMessageW(*w, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(PixelAt(*w, 2, 2), RGB(0x1E, 0x3A, 0x8A));
    EXPECT_GT(CountIn(*w, cpu, RGB(0x1F, 0x29, 0x37)), 0);
}

TEST(ResultWindowTest, SetupButtonsGiveTheirExitCodesThroughTheMouse) {
    const struct {
        int code;
        const wchar_t* button;
        int exitCode;
    } cases[] = {{3, L"btn_setup_exit", 5},
                 {3, L"btn_setup_continue", 0},
                 {0, L"btn_setup_exit2", 5},
                 {0, L"btn_setup_ignore", 0}};
    for (const auto& c : cases) {
        for (int language = 0; language < 3; ++language) {
            auto w = OpenSetup(language, c.code);
            ASSERT_NE(w, nullptr);
            PresentReport(*w, TwoAdapterReport(), true);
            EXPECT_EQ(RunClicking(*w, c.button), c.exitCode) << c.button << " " << language;
            EXPECT_EQ(w->GetHWND(), nullptr);
        }
    }
}

TEST(ResultWindowTest, EscapeAndSystemCloseLeaveExitCodeZero) {
    auto w = OpenSetup(1, 0);
    ASSERT_NE(w, nullptr);
    {
        ModalWatchdog watchdog(*w);
        PostKey(*w, VK_ESCAPE);
        EXPECT_EQ(w->ShowModal(), 1u);
    }
    EXPECT_EQ(w->GetExitCode(), 0);

    auto s = OpenSetup(1, 3);
    ASSERT_NE(s, nullptr);
    ModalWatchdog watchdog(*s);
    PostMessageW(*s, WM_SYSCOMMAND, SC_CLOSE, 0);
    // The system menu's close arrives as a plain WM_CLOSE (code 0); the
    // watchdog would have closed it with kWatchdogCode.
    EXPECT_EQ(s->ShowModal(), 0u);
    EXPECT_EQ(s->GetExitCode(), 0);
}

TEST(ResultWindowTest, CheckModeKeepsItsCloseButtonAndSetupButtonsOnlyClose) {
    auto plain = OpenCheck(1);
    ASSERT_NE(plain, nullptr);
    {
        ModalWatchdog watchdog(*plain);
        POINT centre;
        ASSERT_TRUE(ControlCentre(plain->GetPaintManager(), L"closebtn", centre));
        PostClick(*plain, centre);
        EXPECT_EQ(plain->ShowModal(), 1u);
    }

    // A check-mode window over a layout that has setup buttons: no setup
    // adjustments, and a setup button just closes it (check mode ignores
    // the window's exit code).
    auto w = OpenWindow(L"checkresult_setupwnd.xml", 1, -1);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(Find(*w, L"closebtn")->IsVisible());
    EXPECT_EQ(GetWindowLongPtrW(*w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(Page(*w, L"tab_setup_result"), 0);
    ModalWatchdog watchdog(*w);
    POINT centre;
    ASSERT_TRUE(ControlCentre(w->GetPaintManager(), L"btn_setup_continue", centre));
    PostClick(*w, centre);
    EXPECT_EQ(w->ShowModal(), 1u);
}

namespace {

bool FailToOpen(const std::wstring&) {
    return false;
}

// Closes the "Information" box that a failed link shows, from another
// thread, and reports whether it appeared.
DWORD WINAPI DismissInformationBox(void* seen) {
    for (int i = 0; i < 400; ++i) {
        HWND box = FindWindowW(L"#32770", L"Information");
        if (box != nullptr) {
            *static_cast<LONG*>(seen) = 1;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(25); // polling for the box; gives up after ten seconds
    }
    return 0;
}

} // namespace

TEST(ResultWindowTest, FailedLinkShowsTheBoxAndLeavesTheWindowOpen) {
    CCheckResultWnd::SetPageOpener(&FailToOpen);
    auto w = OpenSetup(1, 3);
    ASSERT_NE(w, nullptr);
    LONG seen = 0;
    HANDLE helper = CreateThread(nullptr, 0, &DismissInformationBox, &seen, 0, nullptr);
    ASSERT_NE(helper, nullptr);
    POINT centre;
    ASSERT_TRUE(ControlCentre(w->GetPaintManager(), L"configrec", centre));
    PostClick(*w, centre);
    PumpPending(); // the box's own loop runs inside the click
    WaitForSingleObject(helper, INFINITE);
    CloseHandle(helper);
    CCheckResultWnd::SetPageOpener(nullptr);
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(IsWindow(*w));
    EXPECT_EQ(w->GetExitCode(), 0);
}

TEST(ResultWindowTest, LinksOpenThePageOfTheWindowLanguageAndStayOpen) {
    CCheckResultWnd::SetPageOpener(&RecordPage);
    g_opened.clear();
    auto w = OpenSetup(2, 3);
    ASSERT_NE(w, nullptr);
    for (const wchar_t* name : {L"steamhelp", L"website", L"configrec"}) {
        POINT centre;
        ASSERT_TRUE(ControlCentre(w->GetPaintManager(), name, centre)) << name;
        PostClick(*w, centre);
    }
    PumpPending();
    CCheckResultWnd::SetPageOpener(nullptr);
    ASSERT_EQ(g_opened.size(), 3u);
    EXPECT_EQ(g_opened[0], L"http://static.tavolex.com/faq/play_game_steam_jp.html");
    EXPECT_EQ(g_opened[1].substr(g_opened[1].size() - 3), L"/jp");
    EXPECT_EQ(g_opened[2], L"http://static.tavolex.com/faq/n5_faq_jp.html");
    EXPECT_TRUE(IsWindow(*w));
    EXPECT_EQ(w->GetExitCode(), 0);
}

// Not elevated, a link goes to ShellExecuteW as always, which starts the
// handler registered for http pages (Wine reads it from HKCR only) from this
// process, in its current folder; the desktop shell would start it in its
// own. The test's handler leaves the page it got and its folder in a file.
TEST(ResultWindowTest, ARunThatIsNotElevatedOpensLinksWithShellExecute) {
    const wchar_t* const key = L"http\\shell\\open\\command";
    wchar_t saved[MAX_PATH] = {};
    LONG savedBytes = sizeof saved;
    ASSERT_EQ(RegQueryValueW(HKEY_CLASSES_ROOT, key, saved, &savedBytes), ERROR_SUCCESS);
    TempDir dir;
    const std::wstring record = dir.File(L"handler.txt");
    const std::wstring handler = L"cmd.exe /c echo %1>\"" + record + L"\"&cd>>\"" + record + L"\"";
    ASSERT_EQ(RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, handler.c_str(), 0), ERROR_SUCCESS);
    SetElevationForTesting(false);
    auto w = OpenSetup(1, 3);
    POINT centre;
    if (w != nullptr && ControlCentre(w->GetPaintManager(), L"configrec", centre)) {
        PostClick(*w, centre);
        PumpPending();
    }
    SetElevationForTesting(std::nullopt);
    const auto lines = [&record] {
        const std::string text = ReadBytes(record);
        return std::count(text.begin(), text.end(), '\n');
    };
    for (int i = 0; i < 400 && lines() < 2; ++i)
        Sleep(25); // the handler runs in a process of its own; ten seconds at most
    RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, saved, 0);
    ASSERT_NE(w, nullptr);
    wchar_t here[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, here);
    EXPECT_EQ(ReadBytes(record),
              "http://static.tavolex.com/faq/n5_faq_en.html\r\n" + WideToUtf8(here) + "\r\n");
    EXPECT_TRUE(IsWindow(*w));
}

TEST(ResultWindowTest, CustomControlsByAnyCaseAndEmptyWhenTheirLayoutIsMissing) {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CCheckResultWnd w(L"checkresultwnd.xml", 1, -1);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + L"skin_tavolex_en");
    std::unique_ptr<CControlUI> lower(w.CreateControl(L"checkresultui"));
    ASSERT_NE(dynamic_cast<CCheckResultUI*>(lower.get()), nullptr);
    EXPECT_EQ(static_cast<CContainerUI*>(lower.get())->GetCount(), 1);
    EXPECT_NE(lower->FindControl(L"tab_result"), nullptr);
    std::unique_ptr<CControlUI> header(w.CreateControl(L"CHECKHEADERUI"));
    ASSERT_NE(dynamic_cast<CCheckHeaderUI*>(header.get()), nullptr);
    EXPECT_NE(header->FindControl(L"closebtn"), nullptr);
    EXPECT_EQ(w.CreateControl(L"Unknown"), nullptr);

    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + L"no_such_skin");
    std::unique_ptr<CControlUI> empty(w.CreateControl(L"CheckResultUI"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(static_cast<CContainerUI*>(empty.get())->GetCount(), 0);
}

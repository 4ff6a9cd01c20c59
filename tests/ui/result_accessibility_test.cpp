// The result windows as screen readers and keyboard users meet them, built
// from the real skins in each language and read in-process through the
// function that answers WM_GETOBJECT (which works where Wine cannot hand the
// objects to another process): names in the window's language, the rows read
// as one line each, the setup buttons by default action, and the tab order.
#include "support/language.h"
#include "tests/toolkit/acc_helpers.h"
#include "tests/toolkit/gui_helpers.h"
#include "tests/ui/result_window_helpers.h"
#include "toolkit/toolkit.h"
#include "ui/string_ids.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const char* const kSkinLanguage[] = {"cn", "en", "jp"}; // by language index

AccPtr ClientOf(CCheckResultWnd& w) {
    return AccPtr(w.GetPaintManager().GetAccessible());
}

std::wstring ControlText(CCheckResultWnd& w, const wchar_t* name) {
    CControlUI* control = w.GetPaintManager().FindControl(name);
    return control != nullptr ? control->GetText() : L"(missing)";
}

int g_pagesOpened = 0;
bool CountPage(const std::wstring&) {
    ++g_pagesOpened;
    return true;
}

std::vector<std::wstring> TabOrder(CCheckResultWnd& w) {
    w.GetPaintManager().UpdateLayout();
    std::vector<std::wstring> names;
    for (CControlUI* stop : w.GetPaintManager().TabStops())
        names.push_back(stop->GetName());
    return names;
}

} // namespace

TEST(ResultAccessibilityTest, SetupWindowReadsInItsLanguage) {
    for (int language = 0; language < 3; ++language) {
        const char* lang = kSkinLanguage[language];
        auto w = OpenSetup(language, 3);
        ASSERT_NE(w, nullptr);
        PresentReport(*w, TwoAdapterReport(), true);
        AccPtr client = ClientOf(*w);
        ASSERT_TRUE(client);
        SCOPED_TRACE(lang);

        // The client is the window: its title, string 117 in its language.
        EXPECT_EQ(AccRole(client.get()), ROLE_SYSTEM_CLIENT);
        EXPECT_EQ(AccName(client.get()),
                  LoadStringForLanguage(IDS_RESULT_TITLE, LanguageForIndex(language).id, 511));
        EXPECT_TRUE(AccFind(client.get(), SkinText(lang, "HEADER_TITLE"), ROLE_SYSTEM_STATICTEXT));
        // The close button is hidden in setup mode, so not there at all.
        EXPECT_FALSE(AccFind(client.get(), SkinText(lang, "BTN_CLOSE")));

        // The two buttons of the installer's question, and a link.
        AccPtr exit = AccFind(client.get(), SkinText(lang, "BTN_EXIT"));
        AccPtr go = AccFind(client.get(), SkinText(lang, "BTN_CONTINUE"));
        ASSERT_TRUE(exit);
        ASSERT_TRUE(go);
        EXPECT_EQ(AccRole(exit.get()), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(AccRole(go.get()), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_NE(AccState(exit.get()) & STATE_SYSTEM_FOCUSABLE, 0);
        EXPECT_TRUE(AccFind(client.get(), SkinText(lang, "BTN_FAQ"), ROLE_SYSTEM_LINK));

        // The processor's row reads as one line, each verdict with its
        // column's title; its four verdict cells are an icon and a text per
        // column, named by the verdict.
        const std::wstring games = SkinText(lang, "COL_GAMES");
        const std::wstring video = SkinText(lang, "COL_VIDEO");
        const std::wstring yes = SkinText(lang, "TXT_SUPPORTED");
        const std::wstring no = SkinText(lang, "TXT_UNSUPPORTED");
        const std::wstring cpu = ControlText(*w, L"cputext");
        AccPtr row =
            AccFind(client.get(), cpu + L", " + games + L": " + yes + L", " + video + L": " + yes,
                    ROLE_SYSTEM_GROUPING);
        ASSERT_TRUE(row);
        std::vector<std::wstring> cells;
        AccDescribe(row.get(), 0, cells);
        const std::vector<std::wstring> expected = {
            AccLine(ROLE_SYSTEM_GROUPING, AccName(row.get()), 0),
            AccLine(ROLE_SYSTEM_STATICTEXT, cpu),
            AccLine(ROLE_SYSTEM_GROUPING, games + L": " + yes),
            AccLine(ROLE_SYSTEM_GRAPHIC, yes, 2),
            AccLine(ROLE_SYSTEM_STATICTEXT, yes, 2),
            AccLine(ROLE_SYSTEM_GROUPING, video + L": " + yes),
            AccLine(ROLE_SYSTEM_GRAPHIC, yes, 2),
            AccLine(ROLE_SYSTEM_STATICTEXT, yes, 2),
        };
        EXPECT_EQ(cells, expected);
        // Adapter 1: games not supported; video 7 left the layout's page.
        EXPECT_TRUE(AccFind(client.get(),
                            ControlText(*w, L"gra1text") + L", " + games + L": " + no + L", " +
                                video + L": " + yes,
                            ROLE_SYSTEM_GROUPING));
    }
}

TEST(ResultAccessibilityTest, DefaultActionOfTheSetupButtonsGivesTheirExitCodes) {
    const struct {
        int code;
        const char* text;
        int exitCode;
    } cases[] = {
        {3, "BTN_EXIT", 5}, {0, "BTN_EXIT", 5}, {0, "BTN_IGNORE", 0}, {3, "BTN_CONTINUE", 0}};
    // "Exit setup" in every language, the other buttons in English.
    for (const auto& c : cases) {
        for (int language = 0; language < 3; ++language) {
            if (c.exitCode != 5 && language != 1)
                continue;
            auto w = OpenSetup(language, c.code);
            ASSERT_NE(w, nullptr);
            PresentReport(*w, TwoAdapterReport(), true);
            AccPtr client = ClientOf(*w);
            AccPtr button = AccFind(client.get(), SkinText(kSkinLanguage[language], c.text),
                                    ROLE_SYSTEM_PUSHBUTTON);
            ASSERT_TRUE(button) << c.text << " " << language;
            ASSERT_EQ(button->accDoDefaultAction(AccSelf()), S_OK);
            {
                ModalWatchdog watchdog(*w);
                EXPECT_EQ(w->ShowModal(), 1u); // closed by the button, not the watchdog
            }
            EXPECT_EQ(w->GetExitCode(), c.exitCode) << c.text << " " << language;
            // A reader still holding the objects: cut off, never a crash.
            w.reset();
            BSTR name = nullptr;
            EXPECT_EQ(button->get_accName(AccSelf(), &name), CO_E_OBJNOTCONNECTED);
            EXPECT_EQ(button->accDoDefaultAction(AccSelf()), CO_E_OBJNOTCONNECTED);
            long count = 0;
            EXPECT_EQ(client->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
        }
    }
}

TEST(ResultAccessibilityTest, TabOrderFollowsTheLayoutInBothResultWindows) {
    const std::vector<std::wstring> links = {L"nvdriver", L"nvdriver2", L"steamhelp", L"configrec",
                                             L"website"};
    auto check = OpenCheck(1);
    ASSERT_NE(check, nullptr);
    PresentReport(*check, TwoAdapterReport(), true);
    // The header's close button stands for the caption's: no tab stop.
    EXPECT_EQ(TabOrder(*check), links);

    for (int code : {3, 0}) {
        auto setup = OpenSetup(1, code);
        ASSERT_NE(setup, nullptr);
        PresentReport(*setup, TwoAdapterReport(), true);
        std::vector<std::wstring> expected = links;
        if (code == 0) {
            expected.push_back(L"btn_setup_exit2");
            expected.push_back(L"btn_setup_ignore");
        } else {
            expected.push_back(L"btn_setup_exit");
            expected.push_back(L"btn_setup_continue");
        }
        EXPECT_EQ(TabOrder(*setup), expected) << code;
        // Nothing is focused at first, so an Enter typed ahead chooses
        // nothing: no button, no link.
        EXPECT_EQ(setup->GetPaintManager().GetFocus(), nullptr);
        g_pagesOpened = 0;
        CCheckResultWnd::SetPageOpener(&CountPage);
        PostKey(*setup, VK_RETURN);
        PumpPending();
        CCheckResultWnd::SetPageOpener(nullptr);
        EXPECT_TRUE(IsWindow(*setup));
        EXPECT_EQ(setup->GetExitCode(), 0);
        EXPECT_EQ(g_pagesOpened, 0);
    }

    // SteamVR present: its help link is hidden, so it is no stop either.
    CCheckReport report = TwoAdapterReport();
    report.steamvr = 2;
    report.driver_flags = 0;
    auto fewer = OpenCheck(1);
    ASSERT_NE(fewer, nullptr);
    PresentReport(*fewer, report, true);
    EXPECT_EQ(TabOrder(*fewer), (std::vector<std::wstring>{L"configrec", L"website"}));
}

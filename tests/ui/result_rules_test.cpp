#include "ui/findings_text.h"
#include "ui/result_rules.h"

#include <gtest/gtest.h>

TEST(ResultRulesTest, VerdictTabsFollowTheGameVerdictFirst) {
    // A supported game verdict wins over any video verdict.
    EXPECT_EQ(TabsForVerdicts(2, 0).game, 0);
    EXPECT_EQ(TabsForVerdicts(2, 0).video, 0);
    EXPECT_EQ(TabsForVerdicts(2, 9).video, 0);
    // Otherwise each tab follows its own verdict: 2 -> 0, 1 -> 1, 0 -> 2.
    EXPECT_EQ(TabsForVerdicts(0, 2).game, 2);
    EXPECT_EQ(TabsForVerdicts(0, 2).video, 0);
    EXPECT_EQ(TabsForVerdicts(1, 1).game, 1);
    EXPECT_EQ(TabsForVerdicts(1, 1).video, 1);
    EXPECT_EQ(TabsForVerdicts(1, 0).video, 2);
    // A video verdict out of range leaves the video tab alone.
    EXPECT_EQ(TabsForVerdicts(1, 7).game, 1);
    EXPECT_EQ(TabsForVerdicts(1, 7).video, -1);
    // A game verdict out of range changes neither tab.
    EXPECT_EQ(TabsForVerdicts(3, 2).game, -1);
    EXPECT_EQ(TabsForVerdicts(3, 2).video, -1);
    EXPECT_EQ(TabsForVerdicts(-1, 2).video, -1);
}

TEST(ResultRulesTest, MemoryOverallAndSetupPages) {
    EXPECT_EQ(MemoryTabPage(2), 0);
    EXPECT_EQ(MemoryTabPage(1), 1);
    EXPECT_EQ(MemoryTabPage(0), 1); // undecided reads as not supported
    EXPECT_EQ(MemoryTabPage(-4), 1);

    EXPECT_EQ(OverallResultPage(2, 1, 2), 0); // the video test comes first
    EXPECT_EQ(OverallResultPage(1, 2, 2), 1);
    EXPECT_EQ(OverallResultPage(2, 2, 2), 2);
    EXPECT_EQ(OverallResultPage(2, 2, 1), 3);
    EXPECT_EQ(OverallResultPage(2, 2, 0), 3);

    EXPECT_EQ(SetupResultPage(0), 1);
    EXPECT_EQ(SetupResultPage(1), 0);
    EXPECT_EQ(SetupResultPage(3), 0);
    EXPECT_EQ(SetupResultPage(-5), 0);
}

TEST(ResultRulesTest, LinesAreComposedAndCutToTheLineBuffer) {
    EXPECT_EQ(ComposeOsLine(L"System: ", L"Microsoft Windows 10 Pro(64)", L"Bit"),
              L"System: Microsoft Windows 10 Pro(64) Bit");
    EXPECT_EQ(ComposeLabelLine(L"CPU: ", L"Intel"), L"CPU: Intel");
    const std::wstring longText(5000, L'x');
    EXPECT_EQ(ComposeLabelLine(L"CPU: ", longText).size(), kLineChars);
    EXPECT_EQ(ComposeOsLine(L"a", longText, L"b").size(), kLineChars);
    EXPECT_EQ(FitText(L"abc", 2), L"ab");
}

TEST(ResultRulesTest, OutdatedDriverLosesLineFeedsAndGetsTheNote) {
    EXPECT_EQ(ComposeDriverLine(L"Display Driver: ", L"30.0\n.1", false, L"(Needs Upgrade)"),
              L"Display Driver: 30.0\n.1");
    EXPECT_EQ(ComposeDriverLine(L"Display Driver: ", L"\n30.0\n.1\n", true, L"(Needs Upgrade)"),
              L"Display Driver: 30.0.1(Needs Upgrade)");
}

TEST(ResultRulesTest, LinksByButtonAndLanguage) {
    EXPECT_EQ(LinkAddress(L"configrec", 0), L"http://static.tavolex.com/faq/n5_faq_cn.html");
    EXPECT_EQ(LinkAddress(L"configrec", 1), L"http://static.tavolex.com/faq/n5_faq_en.html");
    EXPECT_EQ(LinkAddress(L"steamhelp", 2),
              L"http://static.tavolex.com/faq/play_game_steam_jp.html");
    EXPECT_EQ(LinkAddress(L"nvdriver", 0), L"https://www.nvidia.com/Download/index.aspx?lang=cn");
    EXPECT_EQ(LinkAddress(L"nvdriver2", 7), L"https://www.nvidia.com/Download/index.aspx?lang=en");
    EXPECT_EQ(LinkAddress(L"website", 0), L"http://www.tavolex.cn/");
    EXPECT_EQ(LinkAddress(L"website", 1), L"http://www.tavolex.com/");
    EXPECT_EQ(LinkAddress(L"website", 2).substr(LinkAddress(L"website", 2).size() - 3), L"/jp");
    EXPECT_TRUE(LinkAddress(L"closebtn", 1).empty());
    EXPECT_TRUE(LinkAddress(L"btn_setup_exit", 1).empty());
}

TEST(ResultRulesTest, FindingsTextReadsRowByRowLikeTheWindow) {
    Findings findings{L"Testing Result", {}, {L"Video only", L""}};
    findings.rows = {
        {L"System: 10 Bit", L"N5 HMD can run", {}},
        {L"CPU: Intel", L"", {{L"VR games", L"Supported"}, {L"VR video", L""}}},
        {L"", L"", {{L"VR games", L"Supported"}}},  // a row the window does not show
        {L"Display Driver: 30.0\n.1\r\n", L"", {}}, // line feeds kept: still one line
    };
    EXPECT_EQ(FindingsText(findings), L"Testing Result\r\nSystem: 10 Bit, N5 HMD can run\r\n"
                                      L"CPU: Intel, VR games: Supported\r\n"
                                      L"Display Driver: 30.0 .1\r\nVideo only\r\n");
}

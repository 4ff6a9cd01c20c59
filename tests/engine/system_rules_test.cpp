#include "engine/system_rules.h"

#include <gtest/gtest.h>

TEST(SystemTexts, OsTextCarriesTheBitWidth) {
    EXPECT_EQ(L"Microsoft Windows 10 Pro(64)", OsText(L"Microsoft Windows 10 Pro", 64));
    EXPECT_EQ(L"Microsoft Windows 7 Professional(32)",
              OsText(L"Microsoft Windows 7 Professional", 32));
    EXPECT_EQ(L"(64)", OsText(L"", 64));
    EXPECT_EQ(L"Microsoft Windows 11 \x5BB6\x5EAD\x4E2D\x6587\x7248(64)",
              OsText(L"Microsoft Windows 11 \x5BB6\x5EAD\x4E2D\x6587\x7248", 64));
}

TEST(SystemTexts, MemoryTextInWholeGibibytes) {
    EXPECT_EQ(L"0GB", MemoryText(0));
    EXPECT_EQ(L"3GB", MemoryText((4 * kBytesPerGibibyte - 1) / kBytesPerGibibyte));
    EXPECT_EQ(L"4GB", MemoryText(4 * kBytesPerGibibyte / kBytesPerGibibyte));
    EXPECT_EQ(L"4GB", MemoryText((4 * kBytesPerGibibyte + 512LL * 1048576) / kBytesPerGibibyte));
    // Only the low 32 bits are printed.
    EXPECT_EQ(L"1GB", MemoryText((1LL << 32) + 1));
    EXPECT_EQ(L"-1GB", MemoryText(0xFFFFFFFFLL));
}

TEST(SystemTexts, BitWidthFallsBackToWow64OnlyWithoutAnAddressWidth) {
    EXPECT_EQ(64, BitWidth(64, false));
    EXPECT_EQ(32, BitWidth(32, true));
    EXPECT_EQ(64, BitWidth(0, true));
    EXPECT_EQ(32, BitWidth(0, false));
}

TEST(ProcessorRules, GameListGivesBothAndI3RuleGivesGamesOne) {
    CCheckReport r;
    r.CPU_Game = {L"I5-", L"I7-"};
    ApplyProcessorRules(r, L"INTEL(R) CORE(TM) I7-8700K CPU @ 3.70GHZ");
    EXPECT_EQ(VERDICT_SUPPORTED, r.cpu_game);
    EXPECT_EQ(VERDICT_SUPPORTED, r.cpu_video); // without a CPU_Video entry

    CCheckReport i3;
    ApplyProcessorRules(i3, L"INTEL(R) CORE(TM) I3-8100 CPU @ 3.60GHZ");
    EXPECT_EQ(VERDICT_UNSUPPORTED, i3.cpu_game);
    EXPECT_EQ(VERDICT_UNDECIDED, i3.cpu_video);

    CCheckReport i3Video;
    i3Video.CPU_Video = {L"I3-"};
    ApplyProcessorRules(i3Video, L"INTEL(R) CORE(TM) I3-8100 CPU @ 3.60GHZ");
    EXPECT_EQ(VERDICT_UNSUPPORTED, i3Video.cpu_game);
    EXPECT_EQ(VERDICT_SUPPORTED, i3Video.cpu_video);

    // A Core i3 on the games list is accepted.
    CCheckReport listedI3;
    listedI3.CPU_Game = {L"I3-12100"};
    ApplyProcessorRules(listedI3, L"12TH GEN INTEL(R) CORE(TM) I3-12100");
    EXPECT_EQ(VERDICT_SUPPORTED, listedI3.cpu_game);
}

TEST(ProcessorRules, AllListsEmpty) {
    CCheckReport r;
    ApplyProcessorRules(r, L"AMD RYZEN 5 3600 6-CORE PROCESSOR");
    ApplyProcessorBlacklists(r, L"AMD RYZEN 5 3600 6-CORE PROCESSOR");
    EXPECT_EQ(VERDICT_UNDECIDED, r.cpu_game);
    EXPECT_EQ(VERDICT_UNDECIDED, r.cpu_video);
}

TEST(ProcessorRules, BlacklistsOverrideAcceptance) {
    CCheckReport r;
    r.CPU_Game = {L"I5-"};
    r.CPU_Video_BlackList = {L"I5-4"};
    const std::wstring name = L"INTEL(R) CORE(TM) I5-4590 CPU @ 3.30GHZ";
    ApplyProcessorRules(r, name);
    ApplyProcessorBlacklists(r, name);
    EXPECT_EQ(VERDICT_SUPPORTED, r.cpu_game);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.cpu_video);

    CCheckReport g;
    g.CPU_Game = {L"PENTIUM"};
    g.CPU_Game_BlackList = {L"PENTIUM"};
    ApplyProcessorRules(g, L"INTEL(R) PENTIUM(R) CPU G4560 @ 3.50GHZ");
    ApplyProcessorBlacklists(g, L"INTEL(R) PENTIUM(R) CPU G4560 @ 3.50GHZ");
    EXPECT_EQ(VERDICT_UNSUPPORTED, g.cpu_game);
    EXPECT_EQ(VERDICT_SUPPORTED, g.cpu_video);
}

TEST(OsRule, ListedSystemCountsOnlyOnSixtyFourBits) {
    CCheckReport r;
    r.OS = {L"WINDOWS 7", L"WINDOWS 10"};
    ApplyOsRule(r, L"Microsoft Windows 10 Pro", 32);
    EXPECT_EQ(VERDICT_UNDECIDED, r.os_support);
    ApplyOsRule(r, L"Microsoft Windows 8.1 Pro", 64);
    EXPECT_EQ(VERDICT_UNDECIDED, r.os_support);
    ApplyOsRule(r, L"Microsoft Windows 10 Pro", 64);
    EXPECT_EQ(VERDICT_SUPPORTED, r.os_support);

    // The caption is upper-cased (ASCII only) before matching.
    CCheckReport cn;
    cn.OS = {L"WINDOWS 11 \x5BB6\x5EAD"};
    ApplyOsRule(cn, L"Microsoft Windows 11 \x5BB6\x5EAD\x4E2D\x6587\x7248", 64);
    EXPECT_EQ(VERDICT_SUPPORTED, cn.os_support);

    CCheckReport none;
    none.OS = {L"WINDOWS 10"};
    ApplyOsRule(none, L"", 64);
    EXPECT_EQ(VERDICT_UNDECIDED, none.os_support);
}

TEST(MemoryRule, FourGibibytesOrMore) {
    CCheckReport r;
    ApplyMemoryRule(r, 3);
    EXPECT_EQ(VERDICT_UNDECIDED, r.mem_support);
    ApplyMemoryRule(r, 4);
    EXPECT_EQ(VERDICT_SUPPORTED, r.mem_support);
}

#include "engine/graphics_rules.h"

#include <gtest/gtest.h>

namespace {

// A report whose probe found these adapters (upper case, trailing blank).
CCheckReport WithAdapters(std::initializer_list<const wchar_t*> names) {
    CCheckReport report;
    size_t slot = 0;
    for (const wchar_t* name : names) {
        report.adapter_names.push_back(name);
        report.match_info.gpu[slot++] = name;
    }
    return report;
}

struct Pair {
    int game;
    int video;
};

Pair Gpu1(const CCheckReport& r) {
    return {r.gpu1_game, r.gpu1_video};
}
Pair Gpu2(const CCheckReport& r) {
    return {r.gpu2_game, r.gpu2_video};
}

#define EXPECT_PAIR(expectedGame, expectedVideo, pair)                                             \
    do {                                                                                           \
        const Pair p_ = (pair);                                                                    \
        EXPECT_EQ(expectedGame, p_.game) << "game";                                                \
        EXPECT_EQ(expectedVideo, p_.video) << "video";                                             \
    } while (0)

const std::wstring kCoreI7 = L"INTEL(R) CORE(TM) I7-8700K CPU @ 3.70GHZ";
const std::wstring kCoreI3 = L"INTEL(R) CORE(TM) I3-8100 CPU @ 3.60GHZ";

} // namespace

TEST(GameLists, LowEndPatternsGiveOneAndOthersTwo) {
    auto r = WithAdapters({L"NVIDIA GEFORCE GTX 1050 "});
    r.GPU_NV_Game = {L"GTX 1050"};
    ApplyGameLists(r);
    EXPECT_PAIR(1, 0, Gpu1(r)); // video untouched by the games lists

    r = WithAdapters({L"NVIDIA GEFORCE GTX 1050 TI "});
    r.GPU_NV_Game = {L"GTX 1050"};
    ApplyGameLists(r);
    EXPECT_PAIR(2, 2, Gpu1(r));

    r = WithAdapters({L"NVIDIA GEFORCE GTX 980M "});
    r.GPU_NV_Game = {L"GTX 980", L"GTX 1060"};
    ApplyGameLists(r);
    EXPECT_PAIR(1, 0, Gpu1(r));

    r = WithAdapters({L"NVIDIA GEFORCE GTX 1060 "});
    r.GPU_NV_Game = {L"GTX 980", L"GTX 1060"};
    ApplyGameLists(r);
    EXPECT_PAIR(2, 2, Gpu1(r));
}

TEST(GameLists, AmdListAppliesToEveryVendorAndCanLiftALowEndOne) {
    // The lists only group entries; an AMD entry may match an NVIDIA name.
    auto r = WithAdapters({L"NVIDIA GEFORCE GTX 1050 "});
    r.GPU_NV_Game = {L"GTX 1050"};
    r.GPU_AMD_Game = {L"GEFORCE"};
    ApplyGameLists(r);
    EXPECT_PAIR(2, 2, Gpu1(r));

    r = WithAdapters({L"RADEON RX 580 SERIES "});
    r.GPU_AMD_Game = {L"RX 570", L"RX 580"};
    ApplyGameLists(r);
    EXPECT_PAIR(2, 2, Gpu1(r));
}

TEST(GameLists, StopsOnceBothGameVerdictsAreSet) {
    // Both game verdicts already decided before adapter 1's AMD list: the
    // step ends, so adapter 1 keeps its low-end 1.
    auto r = WithAdapters({L"NVIDIA GEFORCE GTX 1050 ", L"RADEON RX 580 SERIES "});
    r.gpu2_game = VERDICT_UNSUPPORTED;
    r.GPU_NV_Game = {L"GTX 1050"};
    r.GPU_AMD_Game = {L"GTX", L"RX 580"};
    ApplyGameLists(r);
    EXPECT_PAIR(1, 0, Gpu1(r));
    EXPECT_PAIR(1, 0, Gpu2(r));

    // Without that, the second adapter is judged too.
    r = WithAdapters({L"NVIDIA GEFORCE GTX 1060 ", L"RADEON RX 580 SERIES "});
    r.GPU_NV_Game = {L"GTX 1060"};
    r.GPU_AMD_Game = {L"RX 580"};
    ApplyGameLists(r);
    EXPECT_PAIR(2, 2, Gpu1(r));
    EXPECT_PAIR(2, 2, Gpu2(r));
}

TEST(IntegratedGames, IntelAdapterMarkedUnsupportedForGames) {
    auto r = WithAdapters({L"INTEL(R) UHD GRAPHICS 620 "});
    ApplyIntegratedAndLowEndGames(r);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu1_game);

    // Intel first, a listed NVIDIA second: the Intel one is marked, even
    // over an earlier 2.
    r = WithAdapters({L"INTEL(R) UHD GRAPHICS 630 ", L"NVIDIA GEFORCE GTX 1060 "});
    r.GPU_NV_Game = {L"GTX 1060"};
    r.GPU_AMD_Game = {L"UHD"};
    ApplyGameLists(r);
    EXPECT_EQ(VERDICT_SUPPORTED, r.gpu1_game);
    EXPECT_EQ(VERDICT_SUPPORTED, r.gpu2_game);
    r.gpu2_game = VERDICT_UNDECIDED;
    ApplyIntegratedAndLowEndGames(r);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu1_game);

    // NVIDIA first, Intel second: adapter 2 is marked.
    r = WithAdapters({L"NVIDIA GEFORCE GTX 1060 ", L"INTEL(R) HD GRAPHICS 630 "});
    r.gpu1_game = VERDICT_SUPPORTED;
    ApplyIntegratedAndLowEndGames(r);
    EXPECT_EQ(VERDICT_SUPPORTED, r.gpu1_game);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu2_game);
}

TEST(IntegratedGames, LowEndGeForceOnlyWhenNothingDecided) {
    auto r = WithAdapters({L"NVIDIA GEFORCE GTX 750 TI ", L"NVIDIA GEFORCE GT 730 "});
    ApplyIntegratedAndLowEndGames(r);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu1_game);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu2_game);

    r = WithAdapters({L"NVIDIA GEFORCE GTX 750 TI "});
    r.gpu1_game = VERDICT_SUPPORTED;
    ApplyIntegratedAndLowEndGames(r);
    EXPECT_EQ(VERDICT_SUPPORTED, r.gpu1_game);

    // No adapters: nothing to mark.
    r = WithAdapters({});
    ApplyIntegratedAndLowEndGames(r);
    EXPECT_PAIR(0, 0, Gpu1(r));
    EXPECT_PAIR(0, 0, Gpu2(r));
}

TEST(VideoLists, NvidiaListFirstThenAmdPerAdapter) {
    auto r = WithAdapters({L"NVIDIA GEFORCE MX150 ", L"RADEON RX 550 SERIES "});
    r.GPU_NV_Video = {L"MX"};
    r.GPU_AMD_Video = {L"RX 5"};
    r.gpu2_video = VERDICT_UNSUPPORTED;
    ApplyVideoLists(r);
    EXPECT_EQ(VERDICT_SUPPORTED, r.gpu1_video);
    EXPECT_EQ(VERDICT_SUPPORTED, r.gpu2_video); // a list replaces an earlier 1
    EXPECT_EQ(VERDICT_UNDECIDED, r.gpu1_game);
}

TEST(IntegratedVideo, SingleIntelAdapter) {
    auto r = WithAdapters({L"INTEL(R) IRIS(TM) PRO GRAPHICS 580 "});
    ApplyIntegratedAndLowEndGames(r);
    ApplyIntegratedVideo(r, kCoreI7);
    EXPECT_PAIR(1, 2, Gpu1(r));

    r = WithAdapters({L"INTEL(R) UHD GRAPHICS 620 "});
    ApplyIntegratedAndLowEndGames(r);
    ApplyIntegratedVideo(r, kCoreI7);
    EXPECT_PAIR(1, 1, Gpu1(r));

    // HD Graphics with a Core i3: 1/1 before any number is read, even for a
    // model the number test would pass.
    r = WithAdapters({L"INTEL(R) HD GRAPHICS 620 "});
    ApplyIntegratedVideo(r, kCoreI3);
    EXPECT_PAIR(1, 1, Gpu1(r));
    r = WithAdapters({L"INTEL(R) HD GRAPHICS 6400 "});
    ApplyIntegratedVideo(r, kCoreI3);
    EXPECT_PAIR(1, 1, Gpu1(r));
    r = WithAdapters({L"INTEL(R) HD GRAPHICS 6400 "});
    ApplyIntegratedVideo(r, kCoreI7);
    EXPECT_PAIR(0, 2, Gpu1(r));

    // An Intel name cut off before its number is judged weak.
    r = WithAdapters({L"INTEL(R) HD GRAPHICS "});
    ApplyIntegratedVideo(r, kCoreI7);
    EXPECT_PAIR(1, 1, Gpu1(r));

    // A listed video verdict is left alone.
    r = WithAdapters({L"INTEL(R) UHD GRAPHICS 620 "});
    r.gpu1_video = VERDICT_SUPPORTED;
    ApplyIntegratedVideo(r, kCoreI7);
    EXPECT_PAIR(0, 2, Gpu1(r));
}

TEST(IntegratedVideo, TwoAdaptersOnlyUndecidedVideoChanges) {
    auto r = WithAdapters({L"INTEL(R) UHD GRAPHICS 630 ", L"NVIDIA GEFORCE GTX 1060 "});
    r.gpu2_game = VERDICT_SUPPORTED;
    r.gpu2_video = VERDICT_SUPPORTED;
    ApplyIntegratedVideo(r, kCoreI7);
    EXPECT_PAIR(1, 1, Gpu1(r));
    EXPECT_PAIR(2, 2, Gpu2(r));

    r = WithAdapters({L"NVIDIA GEFORCE GTX 1060 ", L"INTEL(R) IRIS(TM) PLUS GRAPHICS 655 "});
    ApplyIntegratedVideo(r, kCoreI7);
    EXPECT_PAIR(0, 0, Gpu1(r));
    EXPECT_PAIR(0, 2, Gpu2(r));

    // The Core i3 shortcut is for a single adapter only.
    r = WithAdapters({L"INTEL(R) HD GRAPHICS 6400 ", L"NVIDIA GEFORCE GTX 1060 "});
    ApplyIntegratedVideo(r, kCoreI3);
    EXPECT_PAIR(0, 2, Gpu1(r));
}

TEST(LaptopLists, ReplaceEarlierVerdictsOnlyForListedAdapters) {
    auto r = WithAdapters({L"NVIDIA GEFORCE GTX 980M ", L"INTEL(R) HD GRAPHICS 530 "});
    r.GPU_NV_Game = {L"GTX 980"};
    ApplyGraphicsRules(r, kCoreI7);
    EXPECT_PAIR(1, 0, Gpu1(r));
    EXPECT_PAIR(1, 1, Gpu2(r));
    r.GPU_Game_Laptop = {L"GTX 1060", L"GTX 980M"};
    r.GPU_Video_Laptop = {L"HD GRAPHICS 5"};
    r.ApplyLaptopLists(r.gpu1_game, r.gpu1_video, r.gpu2_game, r.gpu2_video);
    EXPECT_PAIR(2, 2, Gpu1(r));
    EXPECT_PAIR(1, 2, Gpu2(r)); // video list only: game keeps its 1
}

TEST(LaptopLists, WritesThroughTheGivenFields) {
    auto r = WithAdapters({L"NVIDIA GEFORCE MX250 "});
    r.GPU_Video_Laptop = {L"MX"};
    int game = 1, video = 1, game2 = 0, video2 = 0;
    r.ApplyLaptopLists(game, video, game2, video2);
    EXPECT_EQ(VERDICT_UNSUPPORTED, game);
    EXPECT_EQ(VERDICT_SUPPORTED, video);
    EXPECT_PAIR(0, 0, Gpu1(r)); // the report's own fields were not named
}

TEST(AdapterBlacklists, BlacklistThenException) {
    auto r = WithAdapters({L"NVIDIA QUADRO P5000 ", L"NVIDIA GEFORCE MX150 "});
    r.gpu1_game = r.gpu1_video = VERDICT_SUPPORTED;
    r.gpu2_game = r.gpu2_video = VERDICT_SUPPORTED;
    r.GPU_Game_BlackList = {L"QUADRO", L"MX"};
    r.GPU_Game_BlackList_Exception = {L"P5000"};
    ApplyAdapterBlacklists(r);
    EXPECT_PAIR(2, 2, Gpu1(r));
    EXPECT_PAIR(1, 2, Gpu2(r));
}

TEST(AdapterBlacklists, VideoBlacklistWithoutExceptionRejectsGamesToo) {
    auto r = WithAdapters({L"NVIDIA GEFORCE GT 730 ", L"NVIDIA GEFORCE GT 1030 "});
    r.gpu1_game = r.gpu1_video = VERDICT_SUPPORTED;
    r.gpu2_game = r.gpu2_video = VERDICT_SUPPORTED;
    r.GPU_Video_BlackList = {L"GT "};
    r.GPU_Video_BlackList_Exception = {L"GT 1030"};
    ApplyAdapterBlacklists(r);
    EXPECT_PAIR(1, 1, Gpu1(r));
    EXPECT_PAIR(2, 2, Gpu2(r));
}

TEST(AdapterBlacklists, ExceptionsAreReadOnlyAfterABlacklistMatch) {
    auto r = WithAdapters({L"NVIDIA GEFORCE RTX 3060 "});
    r.GPU_Game_BlackList_Exception = {L"RTX"};
    r.GPU_Video_BlackList_Exception = {L"RTX"};
    ApplyAdapterBlacklists(r);
    EXPECT_PAIR(0, 0, Gpu1(r));

    // After a match the exception gives 2 even where the verdict was 0.
    r.GPU_Game_BlackList = {L"GEFORCE"};
    ApplyAdapterBlacklists(r);
    EXPECT_PAIR(2, 0, Gpu1(r));
}

TEST(AdapterBlacklists, EmptySlotsMatchOnlyEmptyEntries) {
    auto r = WithAdapters({});
    r.GPU_Game_BlackList = {L"GT "};
    ApplyAdapterBlacklists(r);
    EXPECT_PAIR(0, 0, Gpu1(r));
    EXPECT_PAIR(0, 0, Gpu2(r));
    r.GPU_Game_BlackList = {L""};
    ApplyAdapterBlacklists(r);
    EXPECT_PAIR(1, 0, Gpu1(r));
    EXPECT_PAIR(1, 0, Gpu2(r));
}

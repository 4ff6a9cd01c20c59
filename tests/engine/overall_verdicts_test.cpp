#include "engine/overall_verdicts.h"

#include "tests/engine/fake_machine.h"

#include <gtest/gtest.h>

namespace {

struct Criteria {
    int cpu, gpu1, gpu2, os, mem;
};

int Game(Criteria c) {
    CCheckReport r;
    r.cpu_game = c.cpu;
    r.gpu1_game = c.gpu1;
    r.gpu2_game = c.gpu2;
    r.os_support = c.os;
    r.mem_support = c.mem;
    ApplyOverallVerdicts(r);
    return r.game_result;
}

} // namespace

TEST(OverallVerdicts, Table) {
    constexpr int U = VERDICT_UNDECIDED, N = VERDICT_UNSUPPORTED, S = VERDICT_SUPPORTED;
    const struct {
        Criteria c;
        int expected;
    } cases[] = {
        {{S, S, U, S, S}, S},
        {{S, U, S, S, S}, S},
        // Either adapter's S is enough.
        {{S, N, S, S, S}, S},
        {{U, N, S, S, S}, U}, // an N on adapter 1 counts only when adapter 2 is not S
        {{S, S, S, S, U}, U},
        {{S, S, S, U, S}, U},
        {{N, S, S, S, S}, N},
        {{S, N, U, S, S}, N},
        {{S, N, N, S, S}, N},
        {{S, U, N, S, S}, U}, // an N on adapter 2 alone never does
        {{S, S, S, N, S}, N},
        {{S, S, S, S, N}, N},
        {{U, U, U, U, U}, U},
        {{U, U, U, U, N}, N},
        {{5, S, S, S, S}, U}, // out-of-range codes decide nothing
    };
    for (const auto& t : cases)
        EXPECT_EQ(t.expected, Game(t.c)) << t.c.cpu << t.c.gpu1 << t.c.gpu2 << t.c.os << t.c.mem;
}

TEST(OverallVerdicts, VideoUsesVideoFieldsAndSharedOsAndMemory) {
    CCheckReport r;
    r.cpu_game = r.gpu1_game = r.gpu2_game = r.os_support = r.mem_support = VERDICT_SUPPORTED;
    r.cpu_video = VERDICT_UNSUPPORTED;
    r.gpu1_video = r.gpu2_video = VERDICT_SUPPORTED;
    ApplyOverallVerdicts(r);
    EXPECT_EQ(VERDICT_SUPPORTED, r.game_result);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.video_result);

    r.cpu_video = VERDICT_SUPPORTED;
    r.gpu1_video = VERDICT_UNDECIDED;
    r.mem_support = VERDICT_UNDECIDED;
    ApplyOverallVerdicts(r);
    EXPECT_EQ(VERDICT_UNDECIDED, r.game_result);
    EXPECT_EQ(VERDICT_UNDECIDED, r.video_result);
}

TEST(SteamVrVerdict, StandaloneThenSteamThenTheApp) {
    FakeMachine m;
    m.standaloneSteamVr = true;
    EXPECT_EQ(VERDICT_SUPPORTED, SteamVrVerdict(m));
    EXPECT_EQ(std::vector<std::string>{"FindStandaloneSteamVr"}, m.calls);

    FakeMachine noSteam;
    EXPECT_EQ(VERDICT_UNSUPPORTED, SteamVrVerdict(noSteam));
    EXPECT_EQ((std::vector<std::string>{"FindStandaloneSteamVr", "FindSteam"}), noSteam.calls);

    FakeMachine steam;
    steam.steam = true;
    EXPECT_EQ(VERDICT_UNSUPPORTED, SteamVrVerdict(steam));
    steam.steamVrInSteam = true;
    EXPECT_EQ(VERDICT_SUPPORTED, SteamVrVerdict(steam));
    // SteamVR's application id, with the updating test switched off.
    EXPECT_EQ(L"250820", steam.askedAppId);
    EXPECT_FALSE(steam.askedRequireNotUpdating);
}

namespace {

int CheckResultFor(int game, int video, int steamvr) {
    CCheckReport report;
    report.game_result = game;
    report.video_result = video;
    report.steamvr = steamvr;
    return CheckResultOf(report);
}

} // namespace

TEST(CheckResultOf, GamesDecideFirstThenVideo) {
    const int kNotSupported[] = {VERDICT_UNDECIDED, VERDICT_UNSUPPORTED};
    const int kAny[] = {VERDICT_UNDECIDED, VERDICT_UNSUPPORTED, VERDICT_SUPPORTED};
    for (int video : kAny) {
        EXPECT_EQ(CheckResultFor(VERDICT_SUPPORTED, video, VERDICT_SUPPORTED), CHECK_RESULT_GAME);
        for (int steamvr : kNotSupported)
            EXPECT_EQ(CheckResultFor(VERDICT_SUPPORTED, video, steamvr),
                      CHECK_RESULT_GAME_NO_STEAMVR);
    }
    for (int game : kNotSupported) {
        for (int steamvr : kAny) {
            EXPECT_EQ(CheckResultFor(game, VERDICT_SUPPORTED, steamvr), CHECK_RESULT_VIDEO_ONLY);
            for (int video : kNotSupported)
                EXPECT_EQ(CheckResultFor(game, video, steamvr), CHECK_RESULT_NONE);
        }
    }
}

// The other direction: the installer's check result stands for the two
// overall verdicts, and numbers outside the table mean its nearest end.
TEST(OverallVerdictsFor, VideoFromVideoOnlyAndGamesFromGame) {
    const int no = VERDICT_UNSUPPORTED, yes = VERDICT_SUPPORTED;
    const struct {
        int checkResult, video, game;
    } cases[] = {{CHECK_RESULT_NONE, no, no},
                 {CHECK_RESULT_VIDEO_ONLY, yes, no},
                 {CHECK_RESULT_GAME, yes, yes},
                 {CHECK_RESULT_GAME_NO_STEAMVR, yes, yes},
                 {99, yes, yes},
                 {-5, no, no},
                 {-2147483647 - 1, no, no}};
    for (const auto& c : cases) {
        const SetupOverallVerdicts v = OverallVerdictsFor(c.checkResult);
        EXPECT_EQ(v.video, c.video) << c.checkResult;
        EXPECT_EQ(v.game, c.game) << c.checkResult;
    }
}

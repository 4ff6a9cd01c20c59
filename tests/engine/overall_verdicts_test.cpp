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
    const struct {
        Criteria c;
        int expected;
    } cases[] = {
        {{2, 2, 0, 2, 2}, 2},
        {{2, 0, 2, 2, 2}, 2},
        // Either adapter's 2 is enough.
        {{2, 1, 2, 2, 2}, 2},
        {{0, 1, 2, 2, 2}, 0}, // a 1 on adapter 1 counts only when adapter 2 is not 2
        {{2, 2, 2, 2, 0}, 0},
        {{2, 2, 2, 0, 2}, 0},
        {{1, 2, 2, 2, 2}, 1},
        {{2, 1, 0, 2, 2}, 1},
        {{2, 1, 1, 2, 2}, 1},
        {{2, 0, 1, 2, 2}, 0}, // a 1 on adapter 2 alone never does
        {{2, 2, 2, 1, 2}, 1},
        {{2, 2, 2, 2, 1}, 1},
        {{0, 0, 0, 0, 0}, 0},
        {{0, 0, 0, 0, 1}, 1},
        {{5, 2, 2, 2, 2}, 0}, // out-of-range codes decide nothing
    };
    for (const auto& t : cases)
        EXPECT_EQ(t.expected, Game(t.c)) << t.c.cpu << t.c.gpu1 << t.c.gpu2 << t.c.os << t.c.mem;
}

TEST(OverallVerdicts, VideoUsesVideoFieldsAndSharedOsAndMemory) {
    CCheckReport r;
    r.cpu_game = r.gpu1_game = r.gpu2_game = r.os_support = r.mem_support = 2;
    r.cpu_video = 1;
    r.gpu1_video = r.gpu2_video = 2;
    ApplyOverallVerdicts(r);
    EXPECT_EQ(2, r.game_result);
    EXPECT_EQ(1, r.video_result);

    r.cpu_video = 2;
    r.gpu1_video = 0;
    r.mem_support = 0;
    ApplyOverallVerdicts(r);
    EXPECT_EQ(0, r.game_result);
    EXPECT_EQ(0, r.video_result);
}

TEST(SteamVrVerdict, StandaloneThenSteamThenTheApp) {
    FakeMachine m;
    m.standaloneSteamVr = true;
    EXPECT_EQ(2, SteamVrVerdict(m));
    EXPECT_EQ(std::vector<std::string>{"FindStandaloneSteamVr"}, m.calls);

    FakeMachine noSteam;
    EXPECT_EQ(1, SteamVrVerdict(noSteam));
    EXPECT_EQ((std::vector<std::string>{"FindStandaloneSteamVr", "FindSteam"}), noSteam.calls);

    FakeMachine steam;
    steam.steam = true;
    EXPECT_EQ(1, SteamVrVerdict(steam));
    steam.steamVrInSteam = true;
    EXPECT_EQ(2, SteamVrVerdict(steam));
    // SteamVR's application id, with the updating test switched off.
    EXPECT_EQ(L"250820", steam.askedAppId);
    EXPECT_FALSE(steam.askedRequireNotUpdating);
}

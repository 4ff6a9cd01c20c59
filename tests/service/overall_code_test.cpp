#include "engine/system_checker.h"

#include <gtest/gtest.h>

namespace {

int Code(int game, int video, int steamvr) {
    CCheckReport report;
    report.game_result = game;
    report.video_result = video;
    report.steamvr = steamvr;
    return OverallCheckCode(report);
}

TEST(OverallCheckCode, GamesDecideFirstThenVideo) {
    for (int video : {0, 1, 2}) {
        EXPECT_EQ(Code(2, video, 2), CHECK_RESULT_GAME);
        for (int steamvr : {0, 1})
            EXPECT_EQ(Code(2, video, steamvr), CHECK_RESULT_GAME_NO_STEAMVR);
    }
    for (int game : {0, 1}) {
        for (int steamvr : {0, 1, 2}) {
            EXPECT_EQ(Code(game, 2, steamvr), CHECK_RESULT_VIDEO_ONLY);
            EXPECT_EQ(Code(game, 1, steamvr), CHECK_RESULT_NONE);
            EXPECT_EQ(Code(game, 0, steamvr), CHECK_RESULT_NONE);
        }
    }
}

} // namespace

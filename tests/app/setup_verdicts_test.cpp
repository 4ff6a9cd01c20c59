#include "app/setup_mode.h"

#include <gtest/gtest.h>

// The installer's verdict code stands for the two overall verdicts.
TEST(SetupVerdictsTest, CodeGivesVideoFromOneAndGamesFromTwo) {
    const struct {
        int code, video, game;
    } cases[] = {{0, 1, 1},
                 {1, 2, 1},
                 {2, 2, 2},
                 {3, 2, 2},
                 {99, 2, 2},
                 {-5, 1, 1},
                 {-2147483647 - 1, 1, 1}};
    for (const auto& c : cases) {
        const SetupOverallVerdicts v = OverallVerdictsForCode(c.code);
        EXPECT_EQ(v.video, c.video) << c.code;
        EXPECT_EQ(v.game, c.game) << c.code;
    }
}

#include "engine/system_checker.h"

int OverallCheckCode(const CCheckReport& report) {
    // Games imply video, so a games verdict decides alone; SteamVR only
    // tells the two games answers apart.
    if (report.game_result == VERDICT_SUPPORTED)
        return report.steamvr == VERDICT_SUPPORTED ? CHECK_RESULT_GAME
                                                   : CHECK_RESULT_GAME_NO_STEAMVR;
    return report.video_result == VERDICT_SUPPORTED ? CHECK_RESULT_VIDEO_ONLY : CHECK_RESULT_NONE;
}

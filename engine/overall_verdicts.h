// The overall table in both directions: the criterion verdicts to the overall
// verdicts and the check result (check mode), and the installer's check
// result back to the two overall verdicts (setup mode). Also the SteamVR
// verdict.
#pragma once

#include "engine/check_report.h"

class IMachineProbe;

// game_result and video_result from the criterion verdicts. Either adapter can
// make a result 2; a 1 on adapter 1 counts only when adapter 2 is not 2.
void ApplyOverallVerdicts(CCheckReport& report);

// The check result (CHECK_RESULT_*) for an evaluated report.
int CheckResultOf(const CCheckReport& report);

// The overall verdicts the installer's check result stands for: video is
// supported from CHECK_RESULT_VIDEO_ONLY up, games from CHECK_RESULT_GAME up.
struct SetupOverallVerdicts {
    int video;
    int game;
};
SetupOverallVerdicts OverallVerdictsFor(int checkResult);

// The Steam application id of SteamVR.
constexpr wchar_t kSteamVrAppId[] = L"250820";

// 2 when SteamVR is present (standalone, or installed in Steam even while it
// is being updated), else 1.
int SteamVrVerdict(IMachineProbe& machine);

// The overall verdicts for games and video, and the SteamVR verdict.
#pragma once

#include "engine/check_report.h"

class IMachineProbe;

// game_result and video_result from the criterion verdicts. Either adapter can
// make a result 2; a 1 on adapter 1 counts only when adapter 2 is not 2.
void ApplyOverallVerdicts(CCheckReport& report);

// The Steam application id of SteamVR.
constexpr wchar_t kSteamVrAppId[] = L"250820";

// 2 when SteamVR is present (standalone, or installed in Steam even while it
// is being updated), else 1.
int SteamVrVerdict(IMachineProbe& machine);

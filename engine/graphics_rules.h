// The graphics rules: adapter verdicts from the requirement lists, the known
// low-end model families and Intel integrated graphics. Steps run in the
// evaluation's fixed order; later steps overwrite earlier verdicts.
#pragma once

#include "engine/check_report.h"

#include <string>

// Games lists (GPU_NV_Game, then GPU_AMD_Game) for each adapter found.
void ApplyGameLists(CCheckReport& report);

// Intel integrated graphics and low-end GeForce models, games verdicts.
void ApplyIntegratedAndLowEndGames(CCheckReport& report);

// Video lists (GPU_NV_Video, then GPU_AMD_Video) for adapters not yet
// VERDICT_SUPPORTED for video.
void ApplyVideoLists(CCheckReport& report);

// Intel integrated graphics, video verdicts. cpuMatchName is the upper-case
// processor brand string.
void ApplyIntegratedVideo(CCheckReport& report, const std::wstring& cpuMatchName);

// The four steps above, in order.
void ApplyGraphicsRules(CCheckReport& report, const std::wstring& cpuMatchName);

// The adapter blacklists and their exceptions, on the two matching slots.
void ApplyAdapterBlacklists(CCheckReport& report);

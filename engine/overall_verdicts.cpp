#include "engine/overall_verdicts.h"

#include "engine/machine_probe.h"

namespace {

// Supported when every part is, one graphics adapter sufficing; unsupported
// when any part is not, the first adapter counting only without a supported
// second one; undecided otherwise. Stored results may hold any number, so
// each comparison names the verdict it means.
int Combine(int cpu, int gpu1, int gpu2, int os, int memory) {
    if (cpu == VERDICT_SUPPORTED && (gpu1 == VERDICT_SUPPORTED || gpu2 == VERDICT_SUPPORTED) &&
        os == VERDICT_SUPPORTED && memory == VERDICT_SUPPORTED)
        return VERDICT_SUPPORTED;
    const bool gpu2NotSupported = gpu2 == VERDICT_UNDECIDED || gpu2 == VERDICT_UNSUPPORTED;
    if (cpu == VERDICT_UNSUPPORTED || (gpu1 == VERDICT_UNSUPPORTED && gpu2NotSupported) ||
        os == VERDICT_UNSUPPORTED || memory == VERDICT_UNSUPPORTED)
        return VERDICT_UNSUPPORTED;
    return VERDICT_UNDECIDED;
}

} // namespace

void ApplyOverallVerdicts(CCheckReport& r) {
    r.game_result = Combine(r.cpu_game, r.gpu1_game, r.gpu2_game, r.os_support, r.mem_support);
    r.video_result = Combine(r.cpu_video, r.gpu1_video, r.gpu2_video, r.os_support, r.mem_support);
}

int CheckResultOf(const CCheckReport& report) {
    // Games imply video, so a games verdict decides alone; SteamVR only
    // tells the two games answers apart.
    if (report.game_result == VERDICT_SUPPORTED)
        return report.steamvr == VERDICT_SUPPORTED ? CHECK_RESULT_GAME
                                                   : CHECK_RESULT_GAME_NO_STEAMVR;
    return report.video_result == VERDICT_SUPPORTED ? CHECK_RESULT_VIDEO_ONLY : CHECK_RESULT_NONE;
}

SetupOverallVerdicts OverallVerdictsFor(int checkResult) {
    // Any number above the table still means games; any below it nothing.
    const auto supportedFrom = [checkResult](int least) {
        return checkResult >= least ? VERDICT_SUPPORTED : VERDICT_UNSUPPORTED;
    };
    return SetupOverallVerdicts{supportedFrom(CHECK_RESULT_VIDEO_ONLY),
                                supportedFrom(CHECK_RESULT_GAME)};
}

int SteamVrVerdict(IMachineProbe& machine) {
    if (machine.FindStandaloneSteamVr())
        return VERDICT_SUPPORTED;
    if (!machine.FindSteam())
        return VERDICT_UNSUPPORTED;
    return machine.IsSteamAppInstalled(kSteamVrAppId, false) ? VERDICT_SUPPORTED
                                                             : VERDICT_UNSUPPORTED;
}

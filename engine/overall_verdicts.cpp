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

int SteamVrVerdict(IMachineProbe& machine) {
    if (machine.FindStandaloneSteamVr())
        return VERDICT_SUPPORTED;
    if (!machine.FindSteam())
        return VERDICT_UNSUPPORTED;
    return machine.IsSteamAppInstalled(kSteamVrAppId, false) ? VERDICT_SUPPORTED
                                                             : VERDICT_UNSUPPORTED;
}

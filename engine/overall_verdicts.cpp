#include "engine/overall_verdicts.h"

#include "engine/machine_probe.h"

namespace {

int Combine(int cpu, int gpu1, int gpu2, int os, int memory) {
    if (cpu == 2 && (gpu1 == 2 || gpu2 == 2) && os == 2 && memory == 2)
        return VERDICT_SUPPORTED;
    if (cpu == 1 || (gpu1 == 1 && (gpu2 == 0 || gpu2 == 1)) || os == 1 || memory == 1)
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

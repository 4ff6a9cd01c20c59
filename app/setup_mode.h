// Setup mode: an installer asks the user, over a stored result, whether to go
// on; the answer is the exit code (5 stop, 0 go on or closed).
#pragma once

#include "app/startup_options.h"

// The overall verdicts the installer's code stands for: video is supported
// from code 1 up, games from code 2 up.
struct SetupOverallVerdicts {
    int video;
    int game;
};
SetupOverallVerdicts OverallVerdictsForCode(int verdictCode);

#ifdef _WIN32
int RunSetupMode(const StartupDecision& decision);
#endif

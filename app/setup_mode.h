// Setup mode: an installer asks the user, over a stored result, whether to go
// on; the answer is the exit code (5 stop, 0 go on or closed).
#pragma once

#include "app/startup_options.h"

#ifdef _WIN32
int RunSetupMode(const StartupDecision& decision);
#endif

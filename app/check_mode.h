#pragma once

#include "app/startup_options.h"

// Check mode: the start window on this thread until the check's result window
// has been closed, or the user closed the start window. Returns 0.
int RunCheckMode(const StartupDecision& decision);

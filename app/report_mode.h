// Report mode: one check without any window; the findings go to a file and
// the check result becomes the exit code.
#pragma once

#include "app/startup_options.h"
#include "support/exit_codes.h"

int RunReportMode(const StartupDecision& decision);

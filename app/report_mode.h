// Report mode: one check without any window; the findings go to a file and
// the overall check code becomes the exit code.
#pragma once

#include "app/startup_options.h"

// Exit codes beyond the overall check codes 0..3.
constexpr int REPORT_EXIT_WRITE_FAILED = 10;
constexpr int REPORT_EXIT_NO_PATH = 87; // ERROR_INVALID_PARAMETER

int RunReportMode(const StartupDecision& decision);

// The process's exit codes, each mode's in one place, and the check result
// that stands for check mode in the result window.
#pragma once

// Report mode: the check result 0..3, or one of these.
constexpr int REPORT_EXIT_WRITE_FAILED = 10;
constexpr int REPORT_EXIT_NO_PATH = 87; // ERROR_INVALID_PARAMETER

// Setup mode: the installer stops on 5 and goes on on 0; closing the window
// any other way goes on too.
constexpr int SETUP_EXIT_STOP = 5;
constexpr int SETUP_EXIT_CONTINUE = 0;

// The result window's check result in check mode, where the installer gave
// none: no setup buttons, and the window grows for a second adapter.
constexpr int CHECK_RESULT_CHECK_MODE = -1;

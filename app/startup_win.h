#pragma once

#include "app/startup_options.h"

#include <windows.h>

// Gathers the start-up inputs from this process (command line, user UI
// language, settings file under the current directory, executable path),
// decides, then sets the thread's UI language and hands the toolkit the
// process instance.
StartupDecision RunStartupOptions(HINSTANCE instance);

// Program entry: start-up options, then the window of the chosen mode.
#include "app/startup_win.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    const StartupDecision decision = RunStartupOptions(instance);
    (void)decision; // the windows of both modes arrive with the UI
    return 0;
}

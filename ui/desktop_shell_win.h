// Starting a program or a page through the desktop shell's process (Windows).
#pragma once

#include <string>

// Asks the shell's desktop window (IShellWindows -> IShellDispatch2::
// ShellExecute) to open the address, so that it runs with the desktop
// user's rights rather than this process's. False when the shell cannot be
// reached this way (no Explorer, another shell, Wine); the shell does not
// report whether the page then opened.
bool OpenThroughDesktopShell(const std::wstring& address);

// ShellExecuteW(open) from this process; false when Windows reports failure.
bool OpenWithShellExecute(const std::wstring& address);

// What a window learns from the monitor it is on: its DPI, and the work
// area (the screen without the task bar) that it must fit in.
#pragma once

#include <windows.h>

// The window's DPI: its own where Windows tracks DPI per window (Windows 10
// 1607 and later), else the system's.
int WindowDpi(HWND window);
// A move or resize about to happen (WM_WINDOWPOSCHANGING): the size is cut
// down to the work area of the monitor the window is heading for, so that
// no window is ever taller or wider than the screen it is on.
void KeepSizeInsideWorkArea(HWND window, WINDOWPOS& pos);

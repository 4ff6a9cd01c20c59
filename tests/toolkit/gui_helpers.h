// Helpers for tests that drive real windows: clicks through the window's own
// mouse messages, and a watchdog so that a broken test fails instead of
// hanging in a modal loop.
#pragma once

#include "toolkit/window.h"

#include <windows.h>

#include <string>

// Closes `window` with code kWatchdogCode if its modal loop is still running
// after `milliseconds`. One at a time, on the calling thread.
constexpr UINT kWatchdogCode = 0xDEAD;
class ModalWatchdog {
public:
    ModalWatchdog(CWindowWnd& window, UINT milliseconds = 15000);
    ~ModalWatchdog();

private:
    UINT_PTR m_timer;
};

// Centre of a named control's rectangle in client coordinates; false when
// the control is missing or has no area (hidden page, invisible).
bool ControlCentre(CPaintManagerUI& manager, const std::wstring& name, POINT& centre);

// Posts a left button press and release at a client point.
void PostClick(HWND window, POINT point);
// Posts a key press and release.
void PostKey(HWND window, WPARAM key);
// Dispatches every message already queued for this thread.
void PumpPending();

// The client area's size.
SIZE ClientSize(HWND window);
// The work area (the screen without the task bar) of the window's monitor.
RECT WorkAreaOf(HWND window);
bool SameRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom);

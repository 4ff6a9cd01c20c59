#include "tests/toolkit/gui_helpers.h"

namespace {

CWindowWnd* g_watched = nullptr;

void CALLBACK WatchdogFired(HWND, UINT, UINT_PTR, DWORD) {
    if (g_watched != nullptr)
        g_watched->Close(kWatchdogCode);
}

} // namespace

ModalWatchdog::ModalWatchdog(CWindowWnd& window, UINT milliseconds) {
    g_watched = &window;
    m_timer = SetTimer(nullptr, 0, milliseconds, &WatchdogFired);
}

ModalWatchdog::~ModalWatchdog() {
    KillTimer(nullptr, m_timer);
    g_watched = nullptr;
}

bool ControlCentre(CPaintManagerUI& manager, const std::wstring& name, POINT& centre) {
    manager.UpdateLayout();
    CControlUI* control = manager.FindControl(name);
    if (control == nullptr || !control->IsVisible())
        return false;
    const RECT& r = control->GetPos();
    if (r.right <= r.left || r.bottom <= r.top)
        return false;
    centre = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return true;
}

void PostClick(HWND window, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void PostKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

SIZE ClientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

bool SameRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

#include "toolkit/window_metrics.h"

#include "toolkit/dpi_scale.h"

#include <algorithm>

int WindowDpi(HWND window) {
    // Not in Windows before 10 1607 and not declared for _WIN32_WINNT
    // 0x0601: looked up at run time. user32 is loaded once windows exist.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 != nullptr ? reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
                                       GetProcAddress(user32, "GetDpiForWindow")))
                                 : nullptr;
    }();
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    // Older Windows: the system DPI, which a system-aware program is drawn at.
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

void KeepSizeInsideWorkArea(HWND window, WINDOWPOS& pos) {
    if ((pos.flags & SWP_NOSIZE) != 0)
        return;
    RECT target = {pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    if ((pos.flags & SWP_NOMOVE) != 0) {
        RECT now;
        GetWindowRect(window, &now);
        target = RECT{now.left, now.top, now.left + pos.cx, now.top + pos.cy};
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromRect(&target, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    pos.cx = std::min<int>(pos.cx, work.right - work.left);
    pos.cy = std::min<int>(pos.cy, work.bottom - work.top);
}

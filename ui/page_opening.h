// How a link button opens its web page. Portable.
#pragma once

#include <functional>
#include <string>

// The two ways to open a page; each returns false when it could not.
struct PageOpeners {
    // Through the desktop shell's own process (Explorer), which runs with the
    // signed-in user's rights.
    std::function<bool(const std::wstring&)> throughDesktop;
    // ShellExecuteW from this process; never used by an elevated one.
    std::function<bool(const std::wstring&)> direct;
};

// An elevated process must not start the browser with its own rights: the
// browser, whatever the page then downloads, and any handler a standard user
// registered for the scheme (HKCU\Software\Classes) would run as
// administrator. It asks the desktop shell only; when that cannot take the
// page, the page stays unopened and the caller reports it. A process that is
// not elevated opens it itself. False when the page was not opened.
bool OpenWebPage(const std::wstring& address, bool elevated, const PageOpeners& openers);

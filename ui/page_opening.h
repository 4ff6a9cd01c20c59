// How a link button opens its web page. Portable.
#pragma once

#include <functional>
#include <string>

// The two ways to open a page; each returns false when it could not.
struct PageOpeners {
    // Through the desktop shell's own process (Explorer), which runs with the
    // signed-in user's rights.
    std::function<bool(const std::wstring&)> throughDesktop;
    // ShellExecuteW from this process.
    std::function<bool(const std::wstring&)> direct;
};

// An elevated process must not start the browser with its own rights (the
// browser, and whatever the page then downloads, would run as administrator):
// it asks the desktop shell first and falls back to opening the page itself
// only when that fails. A process that is not elevated opens it itself.
// False when the page could not be opened at all.
bool OpenWebPage(const std::wstring& address, bool elevated, const PageOpeners& openers);

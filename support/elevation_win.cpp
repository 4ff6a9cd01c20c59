#include "support/elevation.h"

#include "support/win_handles.h"

#include <atomic>

namespace {

// -1: ask Windows; 0 or 1: the answer a test forced.
std::atomic<int> g_forced{-1};

bool TokenIsElevated() {
    HandleOwner token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return true;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return true;
    return elevation.TokenIsElevated != 0;
}

} // namespace

bool IsProcessElevated() {
    const int forced = g_forced.load();
    if (forced >= 0)
        return forced != 0;
    return TokenIsElevated();
}

void SetElevationForTesting(std::optional<bool> forced) {
    g_forced = forced ? (*forced ? 1 : 0) : -1;
}

// Layouts, fonts and pictures are authored at 96 DPI; a window shows them
// at its own DPI by scaling every length once, at layout and paint time.
#pragma once

constexpr int kDefaultDpi = 96;

// value * dpi / 96, rounded half away from zero as MulDiv does, so that a
// length and its negative scale alike. A DPI of 0 or less counts as 96.
constexpr int ScaleForDpi(int value, int dpi) {
    if (dpi <= 0 || dpi == kDefaultDpi)
        return value;
    const long long scaled = static_cast<long long>(value) * dpi;
    const long long half = kDefaultDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kDefaultDpi
                                        : -((-scaled + half) / kDefaultDpi));
}

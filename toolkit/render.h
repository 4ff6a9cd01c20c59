// Drawing primitives for the control tree. Fills, borders and pictures go
// through GDI+ (alpha, anti-aliased rounded corners); text goes through GDI
// with anti-aliased fonts, because font substitution (CJK faces) is a GDI
// feature that GDI+ font families do not follow.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace Gdiplus {
class Bitmap;
}

// Starts GDI+ once per process; safe to call from any thread.
bool EnsureGdiplus();

// Loads a PNG (or any GDI+ format); nullptr when the file is missing or bad.
std::unique_ptr<Gdiplus::Bitmap> LoadPicture(const std::wstring& path);

// The colours a window paints with: the skin's, or, while a contrast theme is
// on, the system colours the user chose for that theme. Every part of a
// control names what it is (an Ink) and passes the skin's colour; the palette
// makes the one decision. Under a contrast theme fills are dropped (nothing
// but the window colour lies under text), a part the skin leaves unpainted
// stays unpainted, except the frame that marks a button.
enum class Ink {
    Window,        // the window's background
    Fill,          // a control's background fill or picture
    Border,        // a control's border
    Text,          // labels
    Link,          // the text of link buttons
    ButtonFace,    // push buttons
    ButtonText,    // push buttons' text and glyphs
    ButtonFrame,   // push buttons' border
    Highlight,     // focus ring, hot and pushed buttons
    HighlightText, // text and glyphs on the highlight
};

struct Palette {
    bool contrast = false;
    // The skin's ARGB colour, or the system's for the part; 0 (transparent)
    // means the part is not painted.
    uint32_t Pick(Ink ink, uint32_t skin) const;
    // The colour a picture on a button is drawn in: 0 keeps its own colours
    // (the skin's); under a contrast theme the glyph takes the ink of the
    // text beside it.
    uint32_t GlyphTint(uint32_t textArgb) const { return contrast ? textArgb : 0; }
    // Background pictures go with the fills; pictures that are the content
    // (verdict icons) stay.
    bool DrawsBackgroundPictures() const { return !contrast; }
};

// Whether a contrast theme is on (SPI_GETHIGHCONTRAST, HCF_HIGHCONTRASTON).
// Tests replace the question, since not every system can switch one on;
// null restores it.
bool IsContrastThemeOn();
// A system colour (COLOR_*) as opaque ARGB.
uint32_t SystemArgb(int index);
using ContrastQuery = bool (*)();
void SetContrastQuery(ContrastQuery query);

void FillBox(HDC dc, const RECT& rect, uint32_t argb, int radius);
void DrawBoxBorder(HDC dc, const RECT& rect, uint32_t argb, int width, int radius);
// A non-zero `tintArgb` draws the picture as a glyph in that colour: its
// shape (alpha) kept, every pixel's colour replaced.
void DrawPicture(HDC dc, const RECT& rect, Gdiplus::Bitmap* picture, uint32_t tintArgb = 0);

// `format` takes DT_* flags. Colours are ARGB; alpha is ignored for text.
void DrawTextIn(HDC dc, const RECT& rect, const std::wstring& text, HFONT font, uint32_t argb,
                UINT format);

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

void FillBox(HDC dc, const RECT& rect, uint32_t argb, int radius);
void DrawBoxBorder(HDC dc, const RECT& rect, uint32_t argb, int width, int radius);
void DrawPicture(HDC dc, const RECT& rect, Gdiplus::Bitmap* picture);

// `format` takes DT_* flags. Colours are ARGB; alpha is ignored for text.
void DrawTextIn(HDC dc, const RECT& rect, const std::wstring& text, HFONT font, uint32_t argb,
                UINT format);

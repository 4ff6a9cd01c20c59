#include "toolkit/render.h"

#include "support/win_handles.h"

#include <algorithm>

// gdiplus.h needs min/max and the COM types; NOMINMAX is set for the project.
#include <objidl.h>
using std::max;
using std::min;
#include <gdiplus.h>

namespace {

struct GdiplusSession {
    ULONG_PTR token = 0;
    bool started = false;
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }
    // Never shut down: pictures cached by windows that outlive static
    // destruction order would be freed after GDI+ is gone. The process exit
    // releases everything.
};

Gdiplus::Color ToColor(uint32_t argb) {
    return Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb));
}

void AddRoundedBox(Gdiplus::GraphicsPath& path, const Gdiplus::RectF& r, float radius) {
    const float d = radius * 2.0f;
    path.AddArc(r.X, r.Y, d, d, 180.0f, 90.0f);
    path.AddArc(r.X + r.Width - d, r.Y, d, d, 270.0f, 90.0f);
    path.AddArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0.0f, 90.0f);
    path.AddArc(r.X, r.Y + r.Height - d, d, d, 90.0f, 90.0f);
    path.CloseFigure();
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// What each part becomes under a contrast theme: the system colour it takes
// (kDropped: none), and whether it is painted even where the skin leaves it
// unpainted. https://learn.microsoft.com/windows/apps/design/accessibility/high-contrast-themes
constexpr int kDropped = -1;
struct ContrastInk {
    Ink ink;
    int systemColor;
    bool evenWhereSkinHasNone;
};
constexpr ContrastInk kContrastInks[] = {
    {Ink::Window, COLOR_WINDOW, true},       {Ink::Fill, kDropped, false},
    {Ink::Border, COLOR_WINDOWTEXT, false},  {Ink::Text, COLOR_WINDOWTEXT, false},
    {Ink::Link, COLOR_HOTLIGHT, false},      {Ink::ButtonFace, COLOR_BTNFACE, false},
    {Ink::ButtonText, COLOR_BTNTEXT, false}, {Ink::ButtonFrame, COLOR_BTNTEXT, true},
    {Ink::Highlight, COLOR_HIGHLIGHT, true}, {Ink::HighlightText, COLOR_HIGHLIGHTTEXT, true},
};

constexpr uint32_t kOpaque = 0xFF000000u;

bool AskSystemForContrast() {
    HIGHCONTRASTW hc = {};
    hc.cbSize = sizeof(hc);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) != FALSE &&
           (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

ContrastQuery g_contrastQuery = &AskSystemForContrast;

} // namespace

uint32_t Palette::Pick(Ink ink, uint32_t skin) const {
    if (!contrast)
        return skin;
    for (const ContrastInk& rule : kContrastInks)
        if (rule.ink == ink) {
            if (rule.systemColor == kDropped || (!rule.evenWhereSkinHasNone && (skin >> 24) == 0))
                return 0;
            return SystemArgb(rule.systemColor);
        }
    return skin;
}

uint32_t SystemArgb(int index) {
    const COLORREF c = GetSysColor(index);
    return kOpaque | (static_cast<uint32_t>(GetRValue(c)) << 16) |
           (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

bool IsContrastThemeOn() {
    return g_contrastQuery();
}

void SetContrastQuery(ContrastQuery query) {
    g_contrastQuery = query != nullptr ? query : &AskSystemForContrast;
}

bool EnsureGdiplus() {
    static GdiplusSession session;
    return session.started;
}

std::unique_ptr<Gdiplus::Bitmap> LoadPicture(const std::wstring& path) {
    if (!EnsureGdiplus())
        return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromFile(path.c_str(), FALSE));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok || bitmap->GetWidth() == 0)
        return nullptr;
    return bitmap;
}

void FillBox(HDC dc, const RECT& rect, uint32_t argb, int radius) {
    if (Empty(rect) || (argb >> 24) == 0 || !EnsureGdiplus())
        return;
    Gdiplus::Graphics g(dc);
    Gdiplus::SolidBrush brush(ToColor(argb));
    const float w = static_cast<float>(rect.right - rect.left);
    const float h = static_cast<float>(rect.bottom - rect.top);
    const float r = std::min(static_cast<float>(radius), std::min(w, h) / 2.0f);
    if (r <= 0.5f) {
        g.FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                        static_cast<INT>(rect.right - rect.left),
                        static_cast<INT>(rect.bottom - rect.top));
        return;
    }
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::GraphicsPath path;
    AddRoundedBox(
        path, Gdiplus::RectF(static_cast<float>(rect.left), static_cast<float>(rect.top), w, h), r);
    g.FillPath(&brush, &path);
}

void DrawBoxBorder(HDC dc, const RECT& rect, uint32_t argb, int width, int radius) {
    if (Empty(rect) || width <= 0 || (argb >> 24) == 0 || !EnsureGdiplus())
        return;
    Gdiplus::Graphics g(dc);
    Gdiplus::Pen pen(ToColor(argb), static_cast<float>(width));
    // The pen straddles the path: inset by half the width so the whole line
    // stays inside the control.
    const float half = width / 2.0f;
    const Gdiplus::RectF r(rect.left + half, rect.top + half, rect.right - rect.left - width,
                           rect.bottom - rect.top - width);
    if (radius <= 0) {
        g.DrawRectangle(&pen, r);
        return;
    }
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::GraphicsPath path;
    AddRoundedBox(path, r,
                  std::min(static_cast<float>(radius), std::min(r.Width, r.Height) / 2.0f));
    g.DrawPath(&pen, &path);
}

void DrawPicture(HDC dc, const RECT& rect, Gdiplus::Bitmap* picture, uint32_t tintArgb) {
    if (picture == nullptr || Empty(rect) || !EnsureGdiplus())
        return;
    Gdiplus::Graphics g(dc);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    const Gdiplus::Rect target(static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                               static_cast<INT>(rect.right - rect.left),
                               static_cast<INT>(rect.bottom - rect.top));
    if (tintArgb == 0) {
        g.DrawImage(picture, target);
        return;
    }
    // The colour matrix multiplies the colour channels by zero and adds the
    // tint (its last row), and keeps alpha: the glyph's shape in one ink.
    const auto channel = [tintArgb](int shift) {
        return static_cast<Gdiplus::REAL>((tintArgb >> shift) & 0xFF) / 255.0f;
    };
    Gdiplus::ColorMatrix matrix = {{{0, 0, 0, 0, 0},
                                    {0, 0, 0, 0, 0},
                                    {0, 0, 0, 0, 0},
                                    {0, 0, 0, 1, 0},
                                    {channel(16), channel(8), channel(0), 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&matrix);
    g.DrawImage(picture, target, 0, 0, static_cast<INT>(picture->GetWidth()),
                static_cast<INT>(picture->GetHeight()), Gdiplus::UnitPixel, &attributes);
}

void DrawTextIn(HDC dc, const RECT& rect, const std::wstring& text, HFONT font, uint32_t argb,
                UINT format) {
    if (text.empty() || Empty(rect))
        return;
    const SelectionScope fontScope(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF));
    RECT r = rect;
    if ((format & DT_SINGLELINE) == 0 && (format & (DT_VCENTER | DT_BOTTOM)) != 0) {
        // DrawText centres vertically only single lines; measure and shift.
        RECT measure = rect;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
                  (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
        const int height = measure.bottom - measure.top;
        const int room = (rect.bottom - rect.top) - height;
        if (room > 0)
            r.top += (format & DT_BOTTOM) ? room : room / 2;
        format &= ~(DT_VCENTER | DT_BOTTOM);
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

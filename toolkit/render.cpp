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

} // namespace

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

void DrawPicture(HDC dc, const RECT& rect, Gdiplus::Bitmap* picture) {
    if (picture == nullptr || Empty(rect) || !EnsureGdiplus())
        return;
    Gdiplus::Graphics g(dc);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    g.DrawImage(picture, Gdiplus::Rect(static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                                       static_cast<INT>(rect.right - rect.left),
                                       static_cast<INT>(rect.bottom - rect.top)));
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

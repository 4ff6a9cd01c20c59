#include "toolkit/paint_manager.h"

#include "support/module_path.h"
#include "support/win_handles.h"
#include "toolkit/accessible.h"
#include "toolkit/container.h"

#include <objidl.h>
#include <algorithm>
using std::max;
using std::min;
#include <gdiplus.h>

namespace {

HINSTANCE g_instance = nullptr;
thread_local std::wstring t_resourcePath;

// Pictures drawn for twice the pixels carry this before their extension.
constexpr wchar_t kDoubleSizeSuffix[] = L"@2x";

std::wstring DoubleSizeName(const std::wstring& file) {
    const size_t dot = file.find_last_of(L'.');
    const size_t slash = file.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return file + kDoubleSizeSuffix;
    return file.substr(0, dot) + kDoubleSizeSuffix + file.substr(dot);
}

HFONT MakeFont(const std::wstring& face, int pixelSize, bool bold) {
    LOGFONTW lf = {};
    lf.lfHeight = -pixelSize;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

} // namespace

CPaintManagerUI::CPaintManagerUI() : m_resourcePath(t_resourcePath) {}

CPaintManagerUI::~CPaintManagerUI() {
    // Controls tell the manager when they go; it must not be half gone then.
    m_hot = nullptr;
    m_pushed = nullptr;
    m_focus = nullptr;
    m_spaceTarget = nullptr;
    OnWindowGone();
    m_root.reset();
    // COM is undone on the thread that set it up; elsewhere it is left to
    // the thread's end rather than undone for the wrong thread.
    if (m_com && GetCurrentThreadId() != m_comThread)
        static_cast<void>(m_com.release());
}

void CPaintManagerUI::SetInstance(HINSTANCE instance) {
    g_instance = instance;
}

HINSTANCE CPaintManagerUI::GetInstance() {
    return g_instance;
}

std::wstring CPaintManagerUI::GetInstancePath() {
    const std::wstring path = ReadModulePath(g_instance);
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

void CPaintManagerUI::SetResourcePath(const std::wstring& folder) {
    t_resourcePath = folder;
    if (!t_resourcePath.empty() && t_resourcePath.back() != L'\\' && t_resourcePath.back() != L'/')
        t_resourcePath += L'\\';
}

std::wstring CPaintManagerUI::GetResourcePath() {
    return t_resourcePath;
}

void CPaintManagerUI::Init(HWND window) {
    m_window = window;
    m_resourcePath = t_resourcePath;
    RefreshPalette();
}

void CPaintManagerUI::RefreshPalette() {
    m_palette.contrast = IsContrastThemeOn();
    // System colours are read at paint time: painting again is all a
    // change of colours needs.
    if (m_window != nullptr)
        InvalidateRect(m_window, nullptr, FALSE);
}

void CPaintManagerUI::AttachDialog(CControlUI* root) {
    m_hot = nullptr;
    m_pushed = nullptr;
    m_root.reset(root);
    if (m_root)
        m_root->SetManager(this, nullptr);
    NeedUpdate();
}

CControlUI* CPaintManagerUI::FindControl(const std::wstring& name) const {
    if (!m_root || name.empty())
        return nullptr;
    return m_root->FindControl(name);
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const wchar_t* type) {
    if (m_notifier == nullptr)
        return;
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = sender;
    m_notifier->Notify(msg);
}

void CPaintManagerUI::SetInitSize(int width, int height) {
    m_initSize.cx = width;
    m_initSize.cy = height;
}

uint32_t CPaintManagerUI::GetAccentColor() const {
    return m_palette.Pick(Ink::Highlight,
                          m_accentColor != 0 ? m_accentColor : SystemArgb(COLOR_HIGHLIGHT));
}

void CPaintManagerUI::SetDpi(int dpi) {
    if (dpi <= 0)
        dpi = kDefaultDpi;
    if (dpi == m_dpi)
        return;
    m_dpi = dpi;
    // Fonts are made again on first use, pictures read again (perhaps the
    // double-size ones).
    for (FontEntry& entry : m_fonts)
        entry.font.reset();
    m_fallbackFont.reset();
    m_images.clear();
    NeedUpdate();
}

void CPaintManagerUI::AddFont(int id, const std::wstring& face, int pixelSize, bool bold,
                              bool isDefault) {
    if (pixelSize <= 0)
        return;
    for (FontEntry& entry : m_fonts)
        if (entry.id == id) {
            entry.face = face;
            entry.pixelSize = pixelSize;
            entry.bold = bold;
            entry.font.reset();
            if (isDefault)
                m_defaultFont = id;
            return;
        }
    m_fonts.push_back(FontEntry{id, face, pixelSize, bold, GdiObjectOwner()});
    if (isDefault || m_defaultFont < 0)
        m_defaultFont = id;
}

HFONT CPaintManagerUI::GetFont(int id) {
    FontEntry* chosen = nullptr;
    for (FontEntry& entry : m_fonts)
        if (entry.id == id)
            chosen = &entry;
    if (chosen == nullptr)
        for (FontEntry& entry : m_fonts)
            if (entry.id == m_defaultFont)
                chosen = &entry;
    if (chosen != nullptr) {
        if (chosen->font.get() == nullptr)
            chosen->font.reset(MakeFont(chosen->face, Scale(chosen->pixelSize), chosen->bold));
        if (chosen->font.get() != nullptr)
            return static_cast<HFONT>(chosen->font.get());
    }
    if (m_fallbackFont.get() == nullptr)
        m_fallbackFont.reset(MakeFont(kDefaultFontFace, Scale(kDefaultFontPixels), false));
    return static_cast<HFONT>(m_fallbackFont.get());
}

Gdiplus::Bitmap* CPaintManagerUI::GetImage(const std::wstring& file) {
    auto found = m_images.find(file);
    if (found != m_images.end())
        return found->second.get();
    // Names are relative to the skin folder; a missing picture is cached as
    // null so that painting does not hit the disk again. Above 96 DPI the
    // double-size picture is sharper than the normal one stretched.
    std::unique_ptr<Gdiplus::Bitmap> picture;
    if (file.find(L"..") == std::wstring::npos) {
        if (m_dpi > kDefaultDpi)
            picture = LoadPicture(m_resourcePath + DoubleSizeName(file));
        if (!picture)
            picture = LoadPicture(m_resourcePath + file);
    }
    Gdiplus::Bitmap* result = picture.get();
    m_images.emplace(file, std::move(picture));
    return result;
}

void CPaintManagerUI::NeedUpdate() {
    m_needUpdate = true;
    if (m_window != nullptr)
        InvalidateRect(m_window, nullptr, FALSE);
}

void CPaintManagerUI::UpdateLayout() {
    if (!m_needUpdate || m_window == nullptr || !m_root)
        return;
    m_needUpdate = false;
    RECT client;
    GetClientRect(m_window, &client);
    m_root->SetPos(client);
}

void CPaintManagerUI::Invalidate(const RECT& rect) {
    if (m_window != nullptr)
        InvalidateRect(m_window, &rect, FALSE);
}

void CPaintManagerUI::ForgetControl(CControlUI* control) {
    if (m_hot == control)
        m_hot = nullptr;
    if (m_focus == control)
        m_focus = nullptr;
    if (m_spaceTarget == control)
        m_spaceTarget = nullptr;
    if (m_pushed == control) {
        m_pushed = nullptr;
        if (m_window != nullptr && GetCapture() == m_window)
            ReleaseCapture();
    }
}

bool CPaintManagerUI::IsCaptionPoint(POINT point) {
    if (point.y < 0 || point.y >= Scale(m_captionHeight) || !m_root)
        return false;
    UpdateLayout();
    return m_root->FindMouseTarget(point) == nullptr;
}

void CPaintManagerUI::Paint() {
    UpdateLayout();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    if (dc == nullptr)
        return;
    RECT client;
    GetClientRect(m_window, &client);
    const SIZE size = {std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)};
    // One back buffer the size of the window: every frame is composed off
    // screen and copied in one blit, so nothing flickers.
    if (m_backBitmap.get() == nullptr || size.cx != m_backSize.cx || size.cy != m_backSize.cy) {
        m_backBitmap.reset(CreateCompatibleBitmap(dc, size.cx, size.cy));
        m_backSize = size;
    }
    const MemoryDcOwner memoryDc(CreateCompatibleDC(dc));
    if (memoryDc && m_backBitmap) {
        HDC memory = memoryDc.get();
        const SelectionScope backBuffer(memory, m_backBitmap.get());
        const RECT& dirty = ps.rcPaint;
        IntersectClipRect(memory, dirty.left, dirty.top, dirty.right, dirty.bottom);
        const uint32_t back = m_palette.Pick(Ink::Window, m_bkColor);
        const GdiObjectOwner background(
            CreateSolidBrush(RGB((back >> 16) & 0xFF, (back >> 8) & 0xFF, back & 0xFF)));
        FillRect(memory, &dirty, static_cast<HBRUSH>(background.get()));
        if (m_root)
            m_root->DoPaint(memory, dirty);
        PaintFocusRing(memory);
        BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
               memory, dirty.left, dirty.top, SRCCOPY);
    }
    EndPaint(m_window, &ps);
}

bool CPaintManagerUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (m_window == nullptr)
        return false;
    result = 0;
    switch (message) {
    case WM_ERASEBKGND:
        // The back buffer covers everything; erasing would flash.
        result = 1;
        return true;
    case WM_PAINT:
        Paint();
        return true;
    case WM_SIZE:
        NeedUpdate();
        return false;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        // A contrast theme switched on or off, or its colours changed.
        RefreshPalette();
        return false;
    case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
    case WM_KEYUP:
        return OnKeyUp(wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // The ring shows only while the window has the keyboard.
        InvalidateFocusRing();
        return false;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(wParam, lParam);
    case WM_GETOBJECT:
        // OBJID_CLIENT arrives as a DWORD; on 64-bit Windows lParam is not
        // sign-extended, so compare as the 32-bit value.
        if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT)
            return false;
        result = AnswerGetObject(wParam);
        return result != 0;
    case WM_NCDESTROY:
        OnWindowGone();
        return false;
    case WM_MOUSEMOVE:
        return OnMouseMove(lParam);
    case WM_MOUSELEAVE:
        return OnMouseLeave();
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(lParam);
    case WM_LBUTTONUP:
        return OnButtonUp(lParam);
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return false;
    default:
        if (message == ActivateMessage()) {
            CControlUI* control = FindByAccessibleId(static_cast<int>(lParam));
            if (control != nullptr && control->IsShown() && control->IsEnabled())
                Activate(control);
            return true;
        }
        return false;
    }
}

// One per window: owns the control tree, the window's fonts and pictures, the
// back buffer, and turns mouse and key messages into control states, click
// notifications, scrolling and keyboard focus. Everything authored in a
// layout is scaled to the window's DPI here, at layout and paint time.
#pragma once

#include "toolkit/control.h"
#include "toolkit/dpi_scale.h"
#include "support/win_handles.h"
#include "toolkit/render.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Gdiplus {
class Bitmap;
}
class ComInitGuard;
struct IAccessible;
class CContainerUI;

struct TNotifyUI {
    std::wstring sType; // "click"
    CControlUI* pSender = nullptr;
};

class INotifyUI {
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// The font of a layout that names none, and the face and size of a font
// element that leaves them out. Pixels at 96 DPI.
constexpr wchar_t kDefaultFontFace[] = L"Segoe UI";
constexpr int kDefaultFontPixels = 14;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // The process instance; skin folders are resolved against its folder.
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // The executable's folder with a trailing backslash.
    static std::wstring GetInstancePath();
    // The folder that layout and picture names are relative to, for layouts
    // built on this thread (a sub-layout has no window of its own to ask).
    static void SetResourcePath(const std::wstring& folder);
    static std::wstring GetResourcePath();

    void Init(HWND window);
    HWND GetPaintWindow() const { return m_window; }

    // Takes ownership of the tree.
    void AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_root.get(); }
    CControlUI* FindControl(const std::wstring& name) const;
    void AddNotifier(INotifyUI* notifier) { m_notifier = notifier; }
    void SendNotify(CControlUI* sender, const wchar_t* type);

    // Window-level attributes from the layout's root element, as authored.
    void SetInitSize(int width, int height);
    SIZE GetInitSize() const { return m_initSize; }
    void SetCaptionHeight(int height) { m_captionHeight = height; }
    int GetCaptionHeight() const { return m_captionHeight; }
    void SetBkColor(uint32_t argb) { m_bkColor = argb; }
    // The focus ring's colour; the system highlight colour until a skin
    // names one, and under a contrast theme.
    void SetAccentColor(uint32_t argb) { m_accentColor = argb; }
    uint32_t GetAccentColor() const;
    // The skin's colours or, under a contrast theme, the system's. Asked
    // again when the system's colours or settings change.
    const Palette& GetPalette() const { return m_palette; }

    // The DPI the window is shown at (96 until the window says otherwise).
    // Changing it makes the fonts and pictures again and lays out anew.
    int GetDpi() const { return m_dpi; }
    void SetDpi(int dpi);
    int Scale(int value) const { return ScaleForDpi(value, m_dpi); }

    // Fonts by id, sizes in pixels at 96 DPI; id -1 or an unknown id gives
    // the default font. Made at the window's DPI on first use.
    void AddFont(int id, const std::wstring& face, int pixelSize, bool bold, bool isDefault);
    HFONT GetFont(int id);
    // Pictures by file name relative to the resource path; cached; null when
    // missing. Above 96 DPI a "name@2x.png" beside "name.png" is preferred.
    Gdiplus::Bitmap* GetImage(const std::wstring& file);

    void NeedUpdate();
    // Lays the tree out now if anything changed; controls' rectangles are
    // valid afterwards.
    void UpdateLayout();
    void Invalidate(const RECT& rect);
    // A control is going away: drop any reference to it.
    void ForgetControl(CControlUI* control);

    // Keyboard focus: one tab stop or none. Only Tab, Shift+Tab and a screen
    // reader move it, never a mouse click, so Enter and Space act only on a
    // control the keyboard chose. The ring around it shows once the keyboard
    // has been used (or a screen reader moved the focus).
    CControlUI* GetFocus() const { return m_focus; }
    void SetFocus(CControlUI* control, bool showRing);
    bool IsFocusRingShown() const { return m_ringShown; }
    // The shown tab stops in layout order.
    std::vector<CControlUI*> TabStops() const;
    // Tab (forward) and Shift+Tab; wraps around. False when there is no
    // tab stop.
    bool MoveFocus(bool forward);
    // What a click on the control does: the same notification.
    void Activate(CControlUI* control);

    // Screen readers: the window's client object, whose children are the
    // controls (the caller gets a reference), and what answers
    // WM_GETOBJECT. Ids identify controls' objects in focus events.
    IAccessible* GetAccessible();
    int NextAccessibleId() { return m_nextAccessibleId--; }
    CControlUI* FindByAccessibleId(int id) const;
    // A screen reader's "do default action": run later from the message
    // loop, like a posted click, so that the reader's call returns first.
    void PostActivate(CControlUI* control);
    // The private message that carries it.
    static UINT ActivateMessage();

    // Returns true when the message was handled, with its result.
    bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // True when the point (client coordinates) drags the window.
    bool IsCaptionPoint(POINT point);

private:
    void Paint();
    void RefreshPalette();
    void PaintFocusRing(HDC dc);
    RECT FocusRingRect(const CControlUI& control) const;
    // From now on the ring shows (once the keyboard or a screen reader is used).
    void ShowFocusRing();
    void InvalidateFocusRing();
    void SetHot(CControlUI* control, POINT point);
    bool OnKeyDown(WPARAM key, LPARAM flags);
    bool OnKeyUp(WPARAM key);
    bool OnMouseMove(LPARAM lParam);
    bool OnMouseLeave();
    bool OnButtonDown(LPARAM lParam);
    bool OnButtonUp(LPARAM lParam);
    // Capture went to `newOwner`: a pushed control gets no click.
    void OnCaptureChanged(HWND newOwner);
    bool OnMouseWheel(WPARAM wParam, LPARAM lParam);
    // The scroll area under a point, else the one holding the focus, else
    // the first in the tree that can scroll.
    CContainerUI* ScrollTarget(const POINT* point) const;
    LRESULT AnswerGetObject(WPARAM flags);
    void OnWindowGone();

    HWND m_window = nullptr;
    std::unique_ptr<CControlUI> m_root;
    INotifyUI* m_notifier = nullptr;
    bool m_needUpdate = true;
    SIZE m_initSize = {0, 0};
    int m_captionHeight = 0;
    uint32_t m_bkColor = 0xFFFFFFFFu;
    uint32_t m_accentColor = 0;
    Palette m_palette;
    int m_dpi = kDefaultDpi;
    std::wstring m_resourcePath;

    struct FontEntry {
        int id;
        std::wstring face;
        int pixelSize;
        bool bold;
        GdiObjectOwner font; // made at m_dpi on first use
    };
    std::vector<FontEntry> m_fonts;
    int m_defaultFont = -1;
    GdiObjectOwner m_fallbackFont;
    std::map<std::wstring, std::unique_ptr<Gdiplus::Bitmap>> m_images;

    GdiObjectOwner m_backBitmap;
    SIZE m_backSize = {0, 0};

    CControlUI* m_hot = nullptr;
    CControlUI* m_pushed = nullptr;
    bool m_trackingLeave = false;

    CControlUI* m_focus = nullptr;
    bool m_ringShown = false;
    CControlUI* m_spaceTarget = nullptr; // Space pressed on it, click on release

    ComOwner<AccessibleObject> m_accessible; // the client object, made when first asked for
    int m_nextAccessibleId = -1;             // negative, as event ids of windowless objects are
    std::unique_ptr<ComInitGuard> m_com;     // made when a screen reader first asks
    DWORD m_comThread = 0;
};

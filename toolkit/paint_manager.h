// One per window: owns the control tree, the window's fonts and pictures, the
// back buffer, and turns mouse messages into control states and click
// notifications.
#pragma once

#include "toolkit/control.h"
#include "toolkit/render.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Gdiplus {
class Bitmap;
}

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

    // Window-level attributes from the layout's root element.
    void SetInitSize(int width, int height);
    SIZE GetInitSize() const { return m_initSize; }
    void SetCaptionHeight(int height) { m_captionHeight = height; }
    int GetCaptionHeight() const { return m_captionHeight; }
    void SetBkColor(uint32_t argb) { m_bkColor = argb; }

    // Fonts by id; id -1 or an unknown id gives the default font.
    void AddFont(int id, const std::wstring& face, int pixelSize, bool bold, bool isDefault);
    HFONT GetFont(int id);
    // Pictures by file name relative to the resource path; cached; null when
    // missing.
    Gdiplus::Bitmap* GetImage(const std::wstring& file);

    void NeedUpdate();
    // Lays the tree out now if anything changed; controls' rectangles are
    // valid afterwards.
    void UpdateLayout();
    void Invalidate(const RECT& rect);
    // A control is going away: drop any reference to it.
    void ForgetControl(CControlUI* control);

    // Returns true when the message was handled, with its result.
    bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // True when the point (client coordinates) drags the window.
    bool IsCaptionPoint(POINT point);

private:
    void Paint();
    void SetHot(CControlUI* control, POINT point);

    HWND m_window = nullptr;
    std::unique_ptr<CControlUI> m_root;
    INotifyUI* m_notifier = nullptr;
    bool m_needUpdate = true;
    SIZE m_initSize = {0, 0};
    int m_captionHeight = 0;
    uint32_t m_bkColor = 0xFFFFFFFFu;
    std::wstring m_resourcePath;

    struct FontEntry {
        int id;
        GdiObjectOwner font;
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
};

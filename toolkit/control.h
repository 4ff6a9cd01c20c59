// Windowless controls: each has a rectangle inside the host window, a few
// visual attributes, and paints itself into the window's back buffer. The
// paint manager owns the tree's root; containers own their children.
#pragma once

#include "support/win_handles.h"
#include "toolkit/render.h"

#include <windows.h>

#include <cstdint>
#include <string>

class CPaintManagerUI;
class CContainerUI;
class AccessibleObject;

// What a control reacts to; the manager translates window messages.
enum class UiEventType { MouseEnter, MouseLeave, ButtonDown, ButtonUp, MouseMove };

struct UiEvent {
    UiEventType type;
    POINT point; // client coordinates
};

// Fixed size or stretch along one axis; see the layout format document.
constexpr int kStretch = -1;

// What a screen reader is told a control is ("accrole" in a layout);
// Automatic decides by the control's kind, text and "accname".
enum class AccessibleRole { Automatic, None, Group, Link };

// "closebtn", "minbtn", "maxbtn", "restorebtn": the skin's stand-ins for the
// caption buttons, which, as on any window, are no tab stops.
bool IsCaptionButtonName(const std::wstring& name);

class CControlUI {
public:
    // Out of line, where the accessible object's type is known.
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual const wchar_t* GetClass() const { return L"Control"; }
    // The control as a container of controls, or null for a leaf.
    virtual CContainerUI* AsContainer() { return nullptr; }
    virtual const CContainerUI* AsContainer() const { return nullptr; }

    const std::wstring& GetName() const { return m_name; }
    void SetName(const std::wstring& name) { m_name = name; }

    const std::wstring& GetText() const { return m_text; }
    virtual void SetText(const std::wstring& text);

    bool IsVisible() const { return m_visible; }
    virtual void SetVisible(bool visible = true);
    // Visible, and so are its ancestors, and it is on its tab layout's
    // selected page: it takes part in layout.
    bool IsShown() const;
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled = true);
    // Reached with Tab and Shift+Tab (when shown).
    virtual bool IsTabStop() const { return false; }

    int GetFixedWidth() const { return m_fixedWidth; }
    int GetFixedHeight() const { return m_fixedHeight; }
    void SetFixedWidth(int width);
    void SetFixedHeight(int height);

    const RECT& GetPadding() const { return m_padding; }
    void SetPadding(const RECT& padding);

    // The sizes above are authored at 96 DPI; these are the window's pixels
    // (kStretch stays kStretch).
    int LayoutWidth() const;
    int LayoutHeight() const;
    RECT LayoutPadding() const;
    // The least height that shows everything inside, in window pixels.
    virtual int MinLayoutHeight() const;
    // A scroll area may get less than its fixed height.
    virtual bool CanShrink() const { return false; }

    void SetBkColor(uint32_t argb);
    uint32_t GetBkColor() const { return m_bkColor; }
    void SetBkImage(const std::wstring& file);
    void SetBorderColor(uint32_t argb);
    int GetBorderRound() const { return m_borderRound; }

    // Applies one layout attribute; unknown names are ignored so that a
    // layout written for a newer version still loads.
    virtual void SetAttribute(const std::string& name, const std::string& value);

    const RECT& GetPos() const { return m_rect; }
    virtual void SetPos(const RECT& rect);
    // The part of the rectangle that can be seen: cut by every scroll area
    // the control is in (empty when scrolled out of view).
    RECT GetVisibleRect() const;

    // Screen readers: the name from "accname" (a picture's text, a group's
    // caption), the role from "accrole", and the control's one accessible
    // object, made on first use and cut off when the control goes.
    const std::wstring& GetAccessibleName() const { return m_accName; }
    AccessibleRole GetAccessibleRole() const { return m_accRole; }
    AccessibleObject* GetAccessibleObject();
    // The object's identity in focus events, or 0 while there is none.
    int GetAccessibleId() const;

    // The deepest visible control at a point that takes mouse input, or null.
    virtual CControlUI* FindMouseTarget(POINT point);
    virtual CControlUI* FindControl(const std::wstring& name);
    virtual bool TakesMouse() const { return false; }
    virtual void DoEvent(const UiEvent& event) {}

    virtual void DoPaint(HDC dc, const RECT& dirty);

    // Attaches this control (and, for containers, its children) to a window.
    virtual void SetManager(CPaintManagerUI* manager, CContainerUI* parent);
    CPaintManagerUI* GetManager() const { return m_manager; }
    CContainerUI* GetParent() const { return m_parent; }

    void Invalidate();

protected:
    // Size, padding or visibility changed: the parent must lay out again.
    void NeedParentUpdate();
    // An authored length at the window's DPI (as authored without a window).
    int Scaled(int value) const;
    RECT Scaled(const RECT& rect) const;
    // The window's palette (the skin's colours without a window).
    const Palette& Colors() const;
    virtual void PaintBackground(HDC dc);
    virtual void PaintContent(HDC dc) {}
    virtual void PaintBorder(HDC dc);

    CPaintManagerUI* m_manager = nullptr;
    CContainerUI* m_parent = nullptr;
    std::wstring m_name;
    std::wstring m_text;
    bool m_visible = true;
    bool m_enabled = true;
    int m_fixedWidth = kStretch;
    int m_fixedHeight = kStretch;
    RECT m_padding = {0, 0, 0, 0};
    RECT m_rect = {0, 0, 0, 0};
    uint32_t m_bkColor = 0;
    std::wstring m_bkImage;
    uint32_t m_borderColor = 0;
    int m_borderSize = 0;
    int m_borderRound = 0;
    std::wstring m_accName;
    AccessibleRole m_accRole = AccessibleRole::Automatic;
    ComOwner<AccessibleObject> m_accessible; // made on first use
};

// Text in one font and colour, aligned inside the control.
class CLabelUI : public CControlUI {
public:
    const wchar_t* GetClass() const override { return L"Label"; }
    void SetTextColor(uint32_t argb);
    uint32_t GetTextColor() const { return m_textColor; }
    void SetFont(int id);
    void SetAttribute(const std::string& name, const std::string& value) override;

protected:
    void PaintContent(HDC dc) override;
    void PaintText(HDC dc, uint32_t color);

    uint32_t m_textColor = 0xFF000000u;
    int m_font = -1; // the window's default font
    UINT m_format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    RECT m_textPadding = {0, 0, 0, 0};
};

// A label that is clicked: hot while the mouse is over it, pushed while the
// left button is held on it; the click is reported when the button is
// released over it.
class CButtonUI : public CLabelUI {
public:
    const wchar_t* GetClass() const override { return L"Button"; }
    void SetAttribute(const std::string& name, const std::string& value) override;
    bool TakesMouse() const override { return m_visible && m_enabled; }
    bool IsTabStop() const override;
    void DoEvent(const UiEvent& event) override;
    bool IsHot() const { return m_hot; }
    bool IsPushed() const { return m_pushed; }

protected:
    void PaintBackground(HDC dc) override;
    void PaintContent(HDC dc) override;
    void PaintBorder(HDC dc) override;
    // A push button, rather than a link or a caption button: under a
    // contrast theme it gets the button colours and a frame.
    bool IsPushButton() const;
    // Hot or pushed with a colour of the skin's for that.
    bool IsLit() const;
    uint32_t TextArgb() const;

    bool m_hot = false;
    bool m_pushed = false;
    bool m_captured = false;
    uint32_t m_hotBkColor = 0;
    uint32_t m_pushedBkColor = 0;
    uint32_t m_hotTextColor = 0;
    std::wstring m_normalImage;
    std::wstring m_hotImage;
    std::wstring m_pushedImage;
};

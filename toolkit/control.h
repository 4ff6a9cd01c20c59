// Windowless controls: each has a rectangle inside the host window, a few
// visual attributes, and paints itself into the window's back buffer. The
// paint manager owns the tree's root; containers own their children.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CPaintManagerUI;
class CContainerUI;

// What a control reacts to; the manager translates window messages.
enum class UiEventType { MouseEnter, MouseLeave, ButtonDown, ButtonUp, MouseMove };

struct UiEvent {
    UiEventType type;
    POINT point; // client coordinates
};

// Fixed size or stretch along one axis; see the layout format document.
constexpr int kStretch = -1;

class CControlUI {
public:
    CControlUI() = default;
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual const wchar_t* GetClass() const { return L"Control"; }

    const std::wstring& GetName() const { return m_name; }
    void SetName(const std::wstring& name) { m_name = name; }

    const std::wstring& GetText() const { return m_text; }
    virtual void SetText(const std::wstring& text);

    bool IsVisible() const { return m_visible; }
    virtual void SetVisible(bool visible = true);

    int GetFixedWidth() const { return m_fixedWidth; }
    int GetFixedHeight() const { return m_fixedHeight; }
    void SetFixedWidth(int width);
    void SetFixedHeight(int height);

    const RECT& GetPadding() const { return m_padding; }
    void SetPadding(const RECT& padding);

    void SetBkColor(uint32_t argb);
    uint32_t GetBkColor() const { return m_bkColor; }
    void SetBkImage(const std::wstring& file);
    void SetBorderColor(uint32_t argb);

    // Applies one layout attribute; unknown names are ignored so that a
    // layout written for a newer version still loads.
    virtual void SetAttribute(const std::string& name, const std::string& value);

    const RECT& GetPos() const { return m_rect; }
    virtual void SetPos(const RECT& rect);

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
    virtual void PaintBackground(HDC dc);
    virtual void PaintContent(HDC dc) {}
    virtual void PaintBorder(HDC dc);

    CPaintManagerUI* m_manager = nullptr;
    CContainerUI* m_parent = nullptr;
    std::wstring m_name;
    std::wstring m_text;
    bool m_visible = true;
    int m_fixedWidth = kStretch;
    int m_fixedHeight = kStretch;
    RECT m_padding = {0, 0, 0, 0};
    RECT m_rect = {0, 0, 0, 0};
    uint32_t m_bkColor = 0;
    std::wstring m_bkImage;
    uint32_t m_borderColor = 0;
    int m_borderSize = 0;
    int m_borderRound = 0;
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
    bool TakesMouse() const override { return m_visible; }
    void DoEvent(const UiEvent& event) override;
    bool IsHot() const { return m_hot; }
    bool IsPushed() const { return m_pushed; }

protected:
    void PaintBackground(HDC dc) override;
    void PaintContent(HDC dc) override;

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

// Controls that hold controls. CContainerUI stacks every child over its whole
// inner rectangle; the vertical and horizontal layouts place children one
// after another; the tab layout shows exactly one child (its selected page).
// Any container can scroll its children vertically ("vscrollbar"): when they
// need more height than it has, they keep their sizes and move under a
// viewport, with a scroll bar drawn over the container's right inset.
#pragma once

#include "toolkit/control.h"

#include <memory>
#include <vector>

class CScrollBarUI;

class CContainerUI : public CControlUI {
public:
    CContainerUI();
    ~CContainerUI() override;
    const wchar_t* GetClass() const override { return L"Container"; }
    CContainerUI* AsContainer() override { return this; }
    const CContainerUI* AsContainer() const override { return this; }

    // Takes ownership. Returns false (and deletes nothing) for a null control.
    bool Add(CControlUI* control);
    // Deletes every child.
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const;
    // True when `child` is one of the children that take part in layout.
    bool ShowsChild(const CControlUI* child) const;
    // The children that take part in layout, in order.
    std::vector<CControlUI*> ShownChildren() const;

    void SetAttribute(const std::string& name, const std::string& value) override;
    void SetPos(const RECT& rect) override;
    int MinLayoutHeight() const override;
    bool CanShrink() const override { return m_scrollable; }
    CControlUI* FindMouseTarget(POINT point) override;
    CControlUI* FindControl(const std::wstring& name) override;
    void DoPaint(HDC dc, const RECT& dirty) override;
    void SetManager(CPaintManagerUI* manager, CContainerUI* parent) override;

    // A child's size, padding or visibility changed.
    void NeedUpdate();

    // Scrolling. Positions are pixels of the window's DPI from the top of
    // the content; they are kept in range at every layout.
    bool IsScrollable() const { return m_scrollable; }
    int GetScrollPos() const { return m_scrollPos; }
    int GetScrollRange() const;
    int GetViewportHeight() const { return m_viewport.bottom - m_viewport.top; }
    int GetContentHeight() const { return m_contentHeight; }
    void SetScrollPos(int pos);
    void ScrollBy(int delta) { SetScrollPos(m_scrollPos + delta); }
    // Scrolls as little as needed to show a rectangle (window pixels, as
    // laid out now) of the content.
    void ScrollIntoView(const RECT& area);
    // Where children can be seen: the whole rectangle, or for a scroll area
    // the band between its top and bottom insets.
    RECT ChildClipRect() const;

protected:
    RECT InnerRect() const;
    // The scroll bar, made when a layout first mentions it.
    CScrollBarUI& EnsureScrollBar();
    // Lays the visible children out inside `inner`.
    virtual void ArrangeChildren(const RECT& inner);
    virtual bool IsChildShown(int index) const;
    // The least height the shown children need inside the insets.
    virtual int ContentMinHeight() const;

    std::vector<std::unique_ptr<CControlUI>> m_items;
    RECT m_inset = {0, 0, 0, 0};
    int m_childPadding = 0;

    bool m_scrollable = false;
    int m_scrollPos = 0;
    int m_contentHeight = 0;
    RECT m_viewport = {0, 0, 0, 0};
    std::unique_ptr<CScrollBarUI> m_scrollBar;
};

class CVerticalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"VerticalLayout"; }

protected:
    void ArrangeChildren(const RECT& inner) override;
    int ContentMinHeight() const override;
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"HorizontalLayout"; }

protected:
    void ArrangeChildren(const RECT& inner) override;
};

class CTabLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"TabLayout"; }
    // Shows page `index` (0-based); out-of-range indexes change nothing.
    bool SelectItem(int index);
    int GetCurSel() const { return m_selected; }
    void SetAttribute(const std::string& name, const std::string& value) override;

protected:
    bool IsChildShown(int index) const override;

    int m_selected = 0;
};

// What a visitor of the shown controls wants next.
enum class VisitStep {
    Enter, // on into the control's shown children (a leaf has none)
    Pass,  // past its children, on to the next control
    Stop,  // no further
};

// Visits `control`, when it is visible, then depth first in layout order the
// shown children of every container the visitor enters: hidden controls, the
// unselected pages of a tab layout and everything inside them are never
// visited. The one walk over the tree for focus, screen readers, scrolling
// and the ids of accessible objects, so that they agree on what is there.
// False when the visitor stopped.
template <typename Visitor> bool VisitShown(CControlUI& control, Visitor&& visit) {
    if (!control.IsVisible())
        return true;
    const VisitStep step = visit(control);
    if (step == VisitStep::Stop)
        return false;
    if (step == VisitStep::Enter)
        if (const CContainerUI* container = control.AsContainer())
            for (CControlUI* child : container->ShownChildren())
                if (!VisitShown(*child, visit))
                    return false;
    return true;
}

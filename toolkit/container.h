// Controls that hold controls. CContainerUI stacks every child over its whole
// inner rectangle; the vertical and horizontal layouts place children one
// after another; the tab layout shows exactly one child (its selected page).
#pragma once

#include "toolkit/control.h"

#include <memory>
#include <vector>

class CContainerUI : public CControlUI {
public:
    const wchar_t* GetClass() const override { return L"Container"; }

    // Takes ownership. Returns false (and deletes nothing) for a null control.
    bool Add(CControlUI* control);
    // Deletes every child.
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const;

    void SetAttribute(const std::string& name, const std::string& value) override;
    void SetPos(const RECT& rect) override;
    CControlUI* FindMouseTarget(POINT point) override;
    CControlUI* FindControl(const std::wstring& name) override;
    void DoPaint(HDC dc, const RECT& dirty) override;
    void SetManager(CPaintManagerUI* manager, CContainerUI* parent) override;

    // A child's size, padding or visibility changed.
    void NeedUpdate();

protected:
    RECT InnerRect() const;
    // Lays the visible children out inside `inner`.
    virtual void ArrangeChildren(const RECT& inner);
    virtual bool IsChildShown(int index) const;
    // The children that take part in layout, in order.
    std::vector<CControlUI*> ShownChildren() const;

    std::vector<std::unique_ptr<CControlUI>> m_items;
    RECT m_inset = {0, 0, 0, 0};
    int m_childPadding = 0;
};

class CVerticalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"VerticalLayout"; }

protected:
    void ArrangeChildren(const RECT& inner) override;
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

#include "toolkit/container.h"

#include "toolkit/layout_math.h"
#include "toolkit/markup.h"
#include "toolkit/paint_manager.h"
#include "toolkit/scroll_bar.h"

#include <algorithm>

namespace {

// A child's rectangle inside a cell, from its fixed sizes (or the cell's
// size when it stretches) and its padding.
RECT PlaceInCell(const CControlUI& child, const RECT& cell) {
    const RECT pad = child.LayoutPadding();
    RECT r = {cell.left + pad.left, cell.top + pad.top, cell.right - pad.right,
              cell.bottom - pad.bottom};
    if (child.LayoutWidth() >= 0)
        r.right = r.left + child.LayoutWidth();
    if (child.LayoutHeight() >= 0)
        r.bottom = r.top + child.LayoutHeight();
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

int PaddedMinHeight(const CControlUI& child) {
    const RECT pad = child.LayoutPadding();
    return child.MinLayoutHeight() + pad.top + pad.bottom;
}

} // namespace

CContainerUI::CContainerUI() = default;

// Out of line: the scroll bar's class is only known here.
CContainerUI::~CContainerUI() = default;

bool CContainerUI::Add(CControlUI* control) {
    if (control == nullptr)
        return false;
    m_items.emplace_back(control);
    control->SetManager(m_manager, this);
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    m_items.clear();
    NeedUpdate();
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

bool CContainerUI::ShowsChild(const CControlUI* child) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_items[static_cast<size_t>(i)].get() == child)
            return IsChildShown(i);
    return false;
}

void CContainerUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "inset") {
        if (const auto v = ParseInts(value, 4))
            m_inset = RECT{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
    } else if (name == "childpadding") {
        if (const auto v = ParseInt(value); v && *v >= 0)
            m_childPadding = *v;
    } else if (name == "vscrollbar") {
        m_scrollable = ParseBool(value).value_or(false);
        if (m_scrollable)
            EnsureScrollBar();
    } else if (CScrollBarUI::IsScrollBarAttribute(name)) {
        EnsureScrollBar().SetAttribute(name, value);
    } else
        CControlUI::SetAttribute(name, value);
}

CScrollBarUI& CContainerUI::EnsureScrollBar() {
    if (!m_scrollBar) {
        m_scrollBar = std::make_unique<CScrollBarUI>(*this);
        m_scrollBar->SetManager(m_manager, this);
    }
    return *m_scrollBar;
}

RECT CContainerUI::InnerRect() const {
    const RECT inset = Scaled(m_inset);
    RECT r = {m_rect.left + inset.left, m_rect.top + inset.top, m_rect.right - inset.right,
              m_rect.bottom - inset.bottom};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

void CContainerUI::SetPos(const RECT& rect) {
    CControlUI::SetPos(rect);
    RECT inner = InnerRect();
    if (m_scrollable) {
        // The children keep at least the height they need and move under
        // the viewport; a container with room to spare lays out as before.
        m_viewport = inner;
        const int viewport = inner.bottom - inner.top;
        m_contentHeight = std::max(viewport, ContentMinHeight());
        m_scrollPos = ClampScroll(m_scrollPos, m_contentHeight, viewport);
        inner.top -= m_scrollPos;
        inner.bottom = inner.top + m_contentHeight;
        if (m_scrollBar)
            m_scrollBar->Place(m_rect, m_viewport);
    }
    ArrangeChildren(inner);
}

int CContainerUI::MinLayoutHeight() const {
    if (m_fixedHeight >= 0)
        return LayoutHeight();
    if (m_scrollable)
        return 0; // it can always scroll instead
    const RECT inset = Scaled(m_inset);
    return inset.top + inset.bottom + ContentMinHeight();
}

int CContainerUI::ContentMinHeight() const {
    int most = 0;
    for (CControlUI* child : ShownChildren())
        most = std::max(most, PaddedMinHeight(*child));
    return most;
}

int CContainerUI::GetScrollRange() const {
    return m_scrollable ? MaxScroll(m_contentHeight, GetViewportHeight()) : 0;
}

void CContainerUI::SetScrollPos(int pos) {
    if (!m_scrollable)
        return;
    pos = ClampScroll(pos, m_contentHeight, GetViewportHeight());
    if (pos == m_scrollPos)
        return;
    m_scrollPos = pos;
    NeedUpdate();
}

void CContainerUI::ScrollIntoView(const RECT& area) {
    if (!m_scrollable)
        return;
    // Content coordinates: the top of the content is the viewport's top
    // less the scroll position.
    const int contentTop = m_viewport.top - m_scrollPos;
    SetScrollPos(ScrollToReveal(m_scrollPos, GetViewportHeight(), area.top - contentTop,
                                area.bottom - area.top, m_contentHeight));
}

RECT CContainerUI::ChildClipRect() const {
    if (!m_scrollable)
        return m_rect;
    return RECT{m_rect.left, m_viewport.top, m_rect.right, m_viewport.bottom};
}

bool CContainerUI::IsChildShown(int index) const {
    return m_items[static_cast<size_t>(index)]->IsVisible();
}

void CContainerUI::ArrangeChildren(const RECT& inner) {
    for (CControlUI* child : ShownChildren())
        child->SetPos(PlaceInCell(*child, inner));
}

CControlUI* CContainerUI::FindMouseTarget(POINT point) {
    if (!m_visible || !PtInRect(&m_rect, point))
        return nullptr;
    if (m_scrollBar && m_scrollBar->FindMouseTarget(point) != nullptr)
        return m_scrollBar.get();
    // Children scrolled out of view cannot be hit.
    const RECT clip = ChildClipRect();
    if (!PtInRect(&clip, point))
        return CControlUI::FindMouseTarget(point);
    // Later children paint over earlier ones, so they are hit first.
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (!IsChildShown(i))
            continue;
        if (CControlUI* hit = m_items[static_cast<size_t>(i)]->FindMouseTarget(point))
            return hit;
    }
    return CControlUI::FindMouseTarget(point);
}

CControlUI* CContainerUI::FindControl(const std::wstring& name) {
    if (CControlUI* self = CControlUI::FindControl(name))
        return self;
    for (const auto& item : m_items)
        if (CControlUI* found = item->FindControl(name))
            return found;
    return nullptr;
}

void CContainerUI::DoPaint(HDC dc, const RECT& dirty) {
    RECT overlap;
    if (!m_visible || !IntersectRect(&overlap, &m_rect, &dirty))
        return;
    PaintBackground(dc);
    PaintContent(dc);
    // Children stay inside the container (a scroll area: inside its
    // viewport): clip to that.
    const RECT clip = ChildClipRect();
    RECT inside;
    if (IntersectRect(&inside, &overlap, &clip)) {
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
        for (CControlUI* child : ShownChildren())
            child->DoPaint(dc, inside);
        RestoreDC(dc, saved);
    }
    if (m_scrollBar && GetScrollRange() > 0)
        m_scrollBar->DoPaint(dc, overlap);
    PaintBorder(dc);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
    CControlUI::SetManager(manager, parent);
    for (const auto& item : m_items)
        item->SetManager(manager, this);
    if (m_scrollBar)
        m_scrollBar->SetManager(manager, this);
}

std::vector<CControlUI*> CContainerUI::ShownChildren() const {
    std::vector<CControlUI*> shown;
    for (int i = 0; i < GetCount(); ++i)
        if (IsChildShown(i))
            shown.push_back(m_items[static_cast<size_t>(i)].get());
    return shown;
}

void CContainerUI::NeedUpdate() {
    // Cheap and always right: lay the whole window out again on next paint.
    if (m_manager != nullptr)
        m_manager->NeedUpdate();
}

void CVerticalLayoutUI::ArrangeChildren(const RECT& inner) {
    const std::vector<CControlUI*> shown = ShownChildren();
    std::vector<BoxItem> items;
    for (CControlUI* c : shown) {
        const RECT pad = c->LayoutPadding();
        items.push_back(BoxItem{c->LayoutHeight(), pad.top, pad.bottom, c->CanShrink()});
    }
    const std::vector<BoxSpan> spans =
        LayoutBox(inner.top, inner.bottom - inner.top, Scaled(m_childPadding), items);
    for (size_t i = 0; i < shown.size(); ++i) {
        const RECT pad = shown[i]->LayoutPadding();
        RECT r = {inner.left + pad.left, spans[i].start, inner.right - pad.right,
                  spans[i].start + spans[i].length};
        if (shown[i]->LayoutWidth() >= 0)
            r.right = r.left + shown[i]->LayoutWidth();
        r.right = std::max(r.right, r.left);
        shown[i]->SetPos(r);
    }
}

int CVerticalLayoutUI::ContentMinHeight() const {
    const std::vector<CControlUI*> shown = ShownChildren();
    if (shown.empty())
        return 0;
    int total = Scaled(m_childPadding) * static_cast<int>(shown.size() - 1);
    for (CControlUI* child : shown)
        total += PaddedMinHeight(*child);
    return total;
}

void CHorizontalLayoutUI::ArrangeChildren(const RECT& inner) {
    const std::vector<CControlUI*> shown = ShownChildren();
    std::vector<BoxItem> items;
    for (CControlUI* c : shown) {
        const RECT pad = c->LayoutPadding();
        items.push_back(BoxItem{c->LayoutWidth(), pad.left, pad.right});
    }
    const std::vector<BoxSpan> spans =
        LayoutBox(inner.left, inner.right - inner.left, Scaled(m_childPadding), items);
    for (size_t i = 0; i < shown.size(); ++i) {
        const RECT pad = shown[i]->LayoutPadding();
        RECT r = {spans[i].start, inner.top + pad.top, spans[i].start + spans[i].length,
                  inner.bottom - pad.bottom};
        const int fixed = shown[i]->LayoutHeight();
        if (fixed >= 0) {
            // Fixed-height children are centred vertically in a row.
            const int room = (inner.bottom - pad.bottom) - (inner.top + pad.top) - fixed;
            r.top = inner.top + pad.top + std::max(room, 0) / 2;
            r.bottom = r.top + fixed;
        }
        r.bottom = std::max(r.bottom, r.top);
        shown[i]->SetPos(r);
    }
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount())
        return false;
    if (index != m_selected) {
        m_selected = index;
        NeedUpdate();
        Invalidate();
    }
    return true;
}

void CTabLayoutUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "selectedid") {
        if (const auto v = ParseInt(value); v && *v >= 0)
            m_selected = *v;
    } else
        CContainerUI::SetAttribute(name, value);
}

bool CTabLayoutUI::IsChildShown(int index) const {
    return index == m_selected && m_items[static_cast<size_t>(index)]->IsVisible();
}

#include "toolkit/container.h"

#include "toolkit/markup.h"
#include "toolkit/paint_manager.h"

#include <algorithm>

namespace {

// A child's rectangle inside a cell, from its fixed sizes (or the cell's
// size when it stretches) and its padding.
RECT PlaceInCell(const CControlUI& child, const RECT& cell) {
    const RECT& pad = child.GetPadding();
    RECT r = {cell.left + pad.left, cell.top + pad.top, cell.right - pad.right,
              cell.bottom - pad.bottom};
    if (child.GetFixedWidth() >= 0)
        r.right = r.left + child.GetFixedWidth();
    if (child.GetFixedHeight() >= 0)
        r.bottom = r.top + child.GetFixedHeight();
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

} // namespace

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

void CContainerUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "inset") {
        if (const auto v = ParseInts(value, 4))
            m_inset = RECT{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
    } else if (name == "childpadding") {
        if (const auto v = ParseInt(value); v && *v >= 0)
            m_childPadding = *v;
    } else
        CControlUI::SetAttribute(name, value);
}

RECT CContainerUI::InnerRect() const {
    RECT r = {m_rect.left + m_inset.left, m_rect.top + m_inset.top, m_rect.right - m_inset.right,
              m_rect.bottom - m_inset.bottom};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

void CContainerUI::SetPos(const RECT& rect) {
    CControlUI::SetPos(rect);
    ArrangeChildren(InnerRect());
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
    // Children stay inside the container: clip to its rectangle.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, overlap.left, overlap.top, overlap.right, overlap.bottom);
    for (CControlUI* child : ShownChildren())
        child->DoPaint(dc, overlap);
    RestoreDC(dc, saved);
    PaintBorder(dc);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
    CControlUI::SetManager(manager, parent);
    for (const auto& item : m_items)
        item->SetManager(manager, this);
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
    for (CControlUI* c : shown)
        items.push_back(BoxItem{c->GetFixedHeight(), c->GetPadding().top, c->GetPadding().bottom});
    const std::vector<BoxSpan> spans =
        LayoutBox(inner.top, inner.bottom - inner.top, m_childPadding, items);
    for (size_t i = 0; i < shown.size(); ++i) {
        const RECT& pad = shown[i]->GetPadding();
        RECT r = {inner.left + pad.left, spans[i].start, inner.right - pad.right,
                  spans[i].start + spans[i].length};
        if (shown[i]->GetFixedWidth() >= 0)
            r.right = r.left + shown[i]->GetFixedWidth();
        r.right = std::max(r.right, r.left);
        shown[i]->SetPos(r);
    }
}

void CHorizontalLayoutUI::ArrangeChildren(const RECT& inner) {
    const std::vector<CControlUI*> shown = ShownChildren();
    std::vector<BoxItem> items;
    for (CControlUI* c : shown)
        items.push_back(BoxItem{c->GetFixedWidth(), c->GetPadding().left, c->GetPadding().right});
    const std::vector<BoxSpan> spans =
        LayoutBox(inner.left, inner.right - inner.left, m_childPadding, items);
    for (size_t i = 0; i < shown.size(); ++i) {
        const RECT& pad = shown[i]->GetPadding();
        RECT r = {spans[i].start, inner.top + pad.top, spans[i].start + spans[i].length,
                  inner.bottom - pad.bottom};
        const int fixed = shown[i]->GetFixedHeight();
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

// Keyboard focus of the paint manager: the tab order, the keys that move,
// activate and scroll, and the focus ring.
#include "toolkit/paint_manager.h"

#include "toolkit/accessible.h"
#include "toolkit/container.h"

#include <algorithm>

namespace {

// The ring sits outside the control with a one-pixel gap, so that it shows
// even around a button filled with the accent colour. Authored pixels.
constexpr int kRingOutset = 3;
constexpr int kRingWidth = 2;
// A control focused inside a scroll area comes into view with this much of
// its surroundings, ring included.
constexpr int kRevealMargin = 8;
// Arrow keys scroll by this many authored pixels; a page keeps one such
// step of the old view in the new one.
constexpr int kKeyScrollStep = 40;
// Bit 30 of a key message: the key was already down (auto-repeat).
constexpr LPARAM kKeyWasDown = 1 << 30;

bool KeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

} // namespace

std::vector<CControlUI*> CPaintManagerUI::TabStops() const {
    std::vector<CControlUI*> stops;
    if (m_root)
        VisitShown(*m_root, [&stops](CControlUI& control) {
            if (control.IsTabStop())
                stops.push_back(&control);
            return VisitStep::Enter;
        });
    return stops;
}

bool CPaintManagerUI::MoveFocus(bool forward) {
    UpdateLayout();
    const std::vector<CControlUI*> stops = TabStops();
    if (stops.empty())
        return false;
    const auto at = std::find(stops.begin(), stops.end(), m_focus);
    size_t next = 0;
    if (at == stops.end())
        next = forward ? 0 : stops.size() - 1; // nothing focused: start at an end
    else {
        const size_t index = static_cast<size_t>(at - stops.begin());
        next = forward ? (index + 1) % stops.size() : (index + stops.size() - 1) % stops.size();
    }
    SetFocus(stops[next], true);
    return true;
}

void CPaintManagerUI::SetFocus(CControlUI* control, bool showRing) {
    if (showRing)
        ShowFocusRing();
    if (control == m_focus)
        return;
    InvalidateFocusRing();
    m_focus = control;
    m_spaceTarget = nullptr;
    if (control == nullptr)
        return;
    // Inside a scroll area the focused control is brought into view.
    UpdateLayout();
    for (CContainerUI* p = control->GetParent(); p != nullptr; p = p->GetParent())
        if (p->IsScrollable()) {
            RECT area = control->GetPos();
            InflateRect(&area, 0, Scale(kRevealMargin));
            p->ScrollIntoView(area);
            UpdateLayout();
        }
    InvalidateFocusRing();
    if (m_window != nullptr) {
        // Screen readers follow the focus through this event; the id is
        // resolved by the client object's get_accChild.
        control->GetAccessibleObject();
        NotifyWinEvent(EVENT_OBJECT_FOCUS, m_window, OBJID_CLIENT, control->GetAccessibleId());
    }
}

void CPaintManagerUI::Activate(CControlUI* control) {
    // Exactly what a released mouse button does: the window may close in
    // the notification, so nothing is touched after it.
    if (control != nullptr)
        SendNotify(control, L"click");
}

bool CPaintManagerUI::OnKeyDown(WPARAM key, LPARAM flags) {
    if (KeyHeld(VK_CONTROL) || KeyHeld(VK_MENU))
        return false;
    switch (key) {
    case VK_TAB:
        MoveFocus(!KeyHeld(VK_SHIFT));
        ShowFocusRing();
        return true;
    case VK_RETURN:
    case VK_SPACE: {
        // A held key repeats: it must not click again and again. Enter with
        // nothing focused does nothing, so an Enter typed ahead chooses
        // nothing.
        if ((flags & kKeyWasDown) != 0)
            return true;
        CControlUI* target = m_focus;
        if (target == nullptr || !target->IsShown() || !target->IsTabStop())
            return true;
        ShowFocusRing();
        // Space clicks on release, as native buttons do; Enter at once.
        if (key == VK_SPACE)
            m_spaceTarget = target;
        else
            Activate(target);
        return true;
    }
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: {
        UpdateLayout();
        CContainerUI* area = ScrollTarget(nullptr);
        if (area == nullptr)
            return false;
        const int step = Scale(kKeyScrollStep);
        const int page = std::max(area->GetViewportHeight() - step, step);
        if (key == VK_UP)
            area->ScrollBy(-step);
        else if (key == VK_DOWN)
            area->ScrollBy(step);
        else if (key == VK_PRIOR)
            area->ScrollBy(-page);
        else if (key == VK_NEXT)
            area->ScrollBy(page);
        else if (key == VK_HOME)
            area->SetScrollPos(0);
        else
            area->SetScrollPos(area->GetScrollRange());
        return true;
    }
    default:
        return false;
    }
}

bool CPaintManagerUI::OnKeyUp(WPARAM key) {
    if (key != VK_SPACE)
        return false;
    CControlUI* target = m_spaceTarget;
    m_spaceTarget = nullptr;
    if (target != nullptr && target == m_focus && target->IsShown() && target->IsTabStop())
        Activate(target);
    return true;
}

RECT CPaintManagerUI::FocusRingRect(const CControlUI& control) const {
    RECT r = control.GetPos();
    InflateRect(&r, Scale(kRingOutset), Scale(kRingOutset));
    return r;
}

void CPaintManagerUI::ShowFocusRing() {
    if (m_ringShown)
        return;
    m_ringShown = true;
    InvalidateFocusRing();
}

void CPaintManagerUI::InvalidateFocusRing() {
    if (m_focus != nullptr)
        Invalidate(FocusRingRect(*m_focus));
}

void CPaintManagerUI::PaintFocusRing(HDC dc) {
    if (!m_ringShown || m_focus == nullptr || !m_focus->IsShown() || m_window == nullptr ||
        ::GetFocus() != m_window)
        return;
    // A control scrolled out of view has no ring; one at the edge of a
    // scroll area keeps its ring whole as long as the area has room for it
    // (its insets), so the last control of the content shows it too.
    const RECT visible = m_focus->GetVisibleRect();
    if (IsRectEmpty(&visible))
        return;
    const RECT ring = FocusRingRect(*m_focus);
    RECT clip = ring;
    for (CContainerUI* p = m_focus->GetParent(); p != nullptr; p = p->GetParent())
        if (p->IsScrollable()) {
            const RECT& area = p->GetPos();
            if (!IntersectRect(&clip, &clip, &area))
                return;
        }
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    const int outset = Scale(kRingOutset);
    const int radius = m_focus->GetBorderRound();
    DrawBoxBorder(dc, ring, GetAccentColor(), Scale(kRingWidth),
                  radius > 0 ? Scale(radius) + outset : 0);
    RestoreDC(dc, saved);
}

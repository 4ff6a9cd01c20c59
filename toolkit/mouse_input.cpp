// Mouse input of the paint manager: the hot control under the pointer, the
// pushed one while the left button is held (captured, so that the release
// lands on it even outside the window), and the wheel, which scrolls the
// area under the pointer.
#include "toolkit/paint_manager.h"

#include "toolkit/container.h"

#include <windowsx.h>

namespace {

// The mouse wheel turns the system's number of lines per notch; a line is
// this many authored pixels.
constexpr int kWheelLinePixels = 20;
constexpr UINT kDefaultWheelLines = 3;
// Where the pointer is said to be when it has left the window.
constexpr POINT kNowhere = {-1, -1};

POINT ClientPoint(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

bool CPaintManagerUI::OnMouseMove(LPARAM lParam) {
    UpdateLayout();
    const POINT pt = ClientPoint(lParam);
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_window, 0};
        m_trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    if (m_pushed != nullptr) {
        m_pushed->DoEvent(UiEvent{UiEventType::MouseMove, pt});
        return true;
    }
    SetHot(m_root ? m_root->FindMouseTarget(pt) : nullptr, pt);
    return true;
}

bool CPaintManagerUI::OnMouseLeave() {
    m_trackingLeave = false;
    if (m_pushed == nullptr)
        SetHot(nullptr, kNowhere);
    return true;
}

bool CPaintManagerUI::OnButtonDown(LPARAM lParam) {
    UpdateLayout();
    const POINT pt = ClientPoint(lParam);
    CControlUI* target = m_root ? m_root->FindMouseTarget(pt) : nullptr;
    if (target == nullptr)
        return false;
    m_pushed = target;
    SetCapture(m_window);
    target->DoEvent(UiEvent{UiEventType::ButtonDown, pt});
    return true;
}

bool CPaintManagerUI::OnButtonUp(LPARAM lParam) {
    if (m_pushed == nullptr)
        return false;
    const POINT pt = ClientPoint(lParam);
    CControlUI* pushed = m_pushed;
    m_pushed = nullptr;
    if (GetCapture() == m_window)
        ReleaseCapture();
    // The hot control follows the pointer again after the release.
    m_hot = PtInRect(&pushed->GetPos(), pt) ? pushed : nullptr;
    pushed->DoEvent(UiEvent{UiEventType::ButtonUp, pt});
    return true;
}

void CPaintManagerUI::OnCaptureChanged(HWND newOwner) {
    if (m_pushed == nullptr || newOwner == m_window)
        return;
    CControlUI* pushed = m_pushed;
    m_pushed = nullptr;
    // Capture taken away (another window, a menu): no click.
    pushed->DoEvent(UiEvent{UiEventType::MouseLeave, kNowhere});
}

void CPaintManagerUI::SetHot(CControlUI* control, POINT point) {
    if (control == m_hot)
        return;
    if (m_hot != nullptr)
        m_hot->DoEvent(UiEvent{UiEventType::MouseLeave, point});
    m_hot = control;
    if (m_hot != nullptr)
        m_hot->DoEvent(UiEvent{UiEventType::MouseEnter, point});
}

bool CPaintManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    POINT pt = ClientPoint(lParam);
    ScreenToClient(m_window, &pt);
    UpdateLayout();
    CContainerUI* area = ScrollTarget(&pt);
    if (area == nullptr)
        return false;
    UINT lines = kDefaultWheelLines;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    // "One screen per notch" comes as WHEEL_PAGESCROLL.
    const int notchPixels = lines == WHEEL_PAGESCROLL
                                ? area->GetViewportHeight()
                                : static_cast<int>(lines) * Scale(kWheelLinePixels);
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    area->ScrollBy(-MulDiv(delta, notchPixels, WHEEL_DELTA));
    UpdateLayout();
    // The control under the pointer changed with the content.
    SetHot(m_root ? m_root->FindMouseTarget(pt) : nullptr, pt);
    return true;
}

namespace {

bool IsInside(const CControlUI& control, const CContainerUI& area) {
    for (const CContainerUI* p = control.GetParent(); p != nullptr; p = p->GetParent())
        if (p == &area)
            return true;
    return false;
}

// The innermost scroll area (at a point, or anywhere): the first in layout
// order that holds no other.
CContainerUI* FindScrollArea(CControlUI& root, const POINT* point) {
    CContainerUI* found = nullptr;
    VisitShown(root, [point, &found](CControlUI& control) {
        CContainerUI* area = control.AsContainer();
        if (area == nullptr || (point != nullptr && !PtInRect(&area->GetPos(), *point)))
            return VisitStep::Pass;
        if (area->GetScrollRange() > 0) {
            if (found != nullptr && !IsInside(*area, *found))
                return VisitStep::Stop;
            found = area;
        }
        return VisitStep::Enter;
    });
    return found;
}

} // namespace

CContainerUI* CPaintManagerUI::ScrollTarget(const POINT* point) const {
    if (!m_root)
        return nullptr;
    if (point != nullptr)
        if (CContainerUI* under = FindScrollArea(*m_root, point))
            return under;
    if (m_focus != nullptr)
        for (CContainerUI* p = m_focus->GetParent(); p != nullptr; p = p->GetParent())
            if (p->GetScrollRange() > 0)
                return p;
    return FindScrollArea(*m_root, nullptr);
}

#include "toolkit/scroll_bar.h"

#include "toolkit/container.h"
#include "toolkit/layout_math.h"
#include "toolkit/markup.h"
#include "toolkit/render.h"

namespace {

// Authored at 96 DPI like the skins: a slim bar inside the usual 20 px
// right inset of a scroll area, and a thumb long enough to grab.
constexpr int kBarWidth = 8;
constexpr int kBarMarginRight = 6;
constexpr int kMinThumb = 24;

} // namespace

bool CScrollBarUI::IsScrollBarAttribute(const std::string& name) {
    return name == "scrollthumbcolor" || name == "scrollthumbhotcolor" ||
           name == "scrolltrackcolor";
}

void CScrollBarUI::SetAttribute(const std::string& name, const std::string& value) {
    const std::optional<uint32_t> color = ParseColor(value);
    if (!color)
        return;
    if (name == "scrollthumbcolor")
        m_thumbColor = *color;
    else if (name == "scrollthumbhotcolor")
        m_thumbHotColor = *color;
    else if (name == "scrolltrackcolor")
        m_trackColor = *color;
}

void CScrollBarUI::Place(const RECT& ownerRect, const RECT& viewport) {
    const int right = ownerRect.right - Scaled(kBarMarginRight);
    SetPos(RECT{right - Scaled(kBarWidth), viewport.top, right, viewport.bottom});
}

RECT CScrollBarUI::ThumbRect() const {
    const int track = m_rect.bottom - m_rect.top;
    const ThumbSpan thumb =
        ScrollThumb(track, m_owner.GetContentHeight(), m_owner.GetViewportHeight(),
                    m_owner.GetScrollPos(), Scaled(kMinThumb));
    if (thumb.length == 0)
        return RECT{m_rect.left, m_rect.top, m_rect.left, m_rect.top};
    return RECT{m_rect.left, m_rect.top + thumb.start, m_rect.right,
                m_rect.top + thumb.start + thumb.length};
}

bool CScrollBarUI::TakesMouse() const {
    return m_visible && m_owner.GetScrollRange() > 0;
}

void CScrollBarUI::DoEvent(const UiEvent& event) {
    switch (event.type) {
    case UiEventType::MouseEnter:
        m_hot = true;
        break;
    case UiEventType::MouseLeave:
        m_hot = false;
        m_dragging = false;
        break;
    case UiEventType::ButtonDown: {
        const RECT thumb = ThumbRect();
        if (PtInRect(&thumb, event.point)) {
            m_dragging = true;
            m_dragStartY = event.point.y;
            m_dragStartPos = m_owner.GetScrollPos();
        } else {
            // A press on the track turns one page towards the pointer.
            const int page = m_owner.GetViewportHeight();
            m_owner.ScrollBy(event.point.y < thumb.top ? -page : page);
        }
        break;
    }
    case UiEventType::MouseMove:
        if (m_dragging)
            m_owner.SetScrollPos(ScrollForThumbDrag(
                m_dragStartPos, event.point.y - m_dragStartY, m_rect.bottom - m_rect.top,
                m_owner.GetContentHeight(), m_owner.GetViewportHeight(), Scaled(kMinThumb)));
        break;
    case UiEventType::ButtonUp:
        m_dragging = false;
        m_hot = PtInRect(&m_rect, event.point) != FALSE;
        break;
    }
    Invalidate();
}

void CScrollBarUI::PaintBackground(HDC dc) {
    if (m_owner.GetScrollRange() > 0)
        FillBox(dc, m_rect, Colors().Pick(Ink::Fill, m_trackColor), Scaled(kBarWidth) / 2);
}

void CScrollBarUI::PaintContent(HDC dc) {
    const RECT thumb = ThumbRect();
    const bool lit = m_hot || m_dragging;
    FillBox(
        dc, thumb,
        Colors().Pick(lit ? Ink::Highlight : Ink::ButtonText, lit ? m_thumbHotColor : m_thumbColor),
        Scaled(kBarWidth) / 2);
}

#include "toolkit/control.h"

#include "support/text.h"
#include "toolkit/accessible.h"
#include "toolkit/container.h"
#include "toolkit/markup.h"
#include "toolkit/paint_manager.h"

namespace {

std::wstring Wide(const std::string& utf8) {
    return Utf8ToWide(utf8.c_str());
}

// "stretch" (or "*") shares the room left; a number is a fixed size.
bool ReadSize(const std::string& value, int& target) {
    if (value == "*" || MarkupNameEquals(value, "stretch")) {
        target = kStretch;
        return true;
    }
    const std::optional<int> v = ParseInt(value);
    if (!v || *v < 0)
        return false;
    target = *v;
    return true;
}

bool ReadRect(const std::string& value, RECT& target) {
    const auto v = ParseInts(value, 4);
    if (!v)
        return false;
    target = RECT{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
    return true;
}

void ReadColor(const std::string& value, uint32_t& target) {
    if (const auto c = ParseColor(value))
        target = *c;
}

AccessibleRole ReadRole(const std::string& value) {
    if (MarkupNameEquals(value, "none"))
        return AccessibleRole::None;
    if (MarkupNameEquals(value, "group"))
        return AccessibleRole::Group;
    if (MarkupNameEquals(value, "link"))
        return AccessibleRole::Link;
    return AccessibleRole::Automatic;
}

// A leaf that shows nothing but its picture: the picture is its content (a
// verdict icon), not a background behind something.
bool ShowsPictureAsContent(const CControlUI& control) {
    return control.GetText().empty() && control.AsContainer() == nullptr;
}

RECT Intersection(const RECT& a, const RECT& b) {
    RECT r;
    if (!IntersectRect(&r, &a, &b))
        r = RECT{a.left, a.top, a.left, a.top};
    return r;
}

} // namespace

bool IsCaptionButtonName(const std::wstring& name) {
    return name == L"closebtn" || name == L"minbtn" || name == L"maxbtn" || name == L"restorebtn";
}

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_manager != nullptr)
        m_manager->ForgetControl(this);
    // A screen reader may hold the object for longer: it must find it cut
    // off, never pointing here.
    if (m_accessible)
        m_accessible->Disconnect();
}

AccessibleObject* CControlUI::GetAccessibleObject() {
    if (!m_accessible && m_manager != nullptr)
        m_accessible.reset(AccessibleObject::ForControl(this, m_manager->NextAccessibleId()));
    return m_accessible.get();
}

int CControlUI::GetAccessibleId() const {
    return m_accessible ? m_accessible->UniqueId() : 0;
}

void CControlUI::SetText(const std::wstring& text) {
    if (m_text == text)
        return;
    m_text = text;
    Invalidate();
}

void CControlUI::SetVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    NeedParentUpdate();
}

bool CControlUI::IsShown() const {
    for (const CControlUI* c = this; c != nullptr; c = c->m_parent) {
        if (!c->m_visible)
            return false;
        if (c->m_parent != nullptr && !c->m_parent->ShowsChild(c))
            return false;
    }
    return true;
}

void CControlUI::SetEnabled(bool enabled) {
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Invalidate();
}

void CControlUI::SetFixedWidth(int width) {
    m_fixedWidth = width < 0 ? kStretch : width;
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int height) {
    m_fixedHeight = height < 0 ? kStretch : height;
    NeedParentUpdate();
}

void CControlUI::SetPadding(const RECT& padding) {
    m_padding = padding;
    NeedParentUpdate();
}

int CControlUI::Scaled(int value) const {
    return m_manager != nullptr ? m_manager->Scale(value) : value;
}

RECT CControlUI::Scaled(const RECT& rect) const {
    return RECT{Scaled(rect.left), Scaled(rect.top), Scaled(rect.right), Scaled(rect.bottom)};
}

int CControlUI::LayoutWidth() const {
    return m_fixedWidth < 0 ? kStretch : Scaled(m_fixedWidth);
}

int CControlUI::LayoutHeight() const {
    return m_fixedHeight < 0 ? kStretch : Scaled(m_fixedHeight);
}

RECT CControlUI::LayoutPadding() const {
    return Scaled(m_padding);
}

int CControlUI::MinLayoutHeight() const {
    return m_fixedHeight < 0 ? 0 : LayoutHeight();
}

void CControlUI::SetBkColor(uint32_t argb) {
    m_bkColor = argb;
    Invalidate();
}

void CControlUI::SetBkImage(const std::wstring& file) {
    m_bkImage = file;
    Invalidate();
}

void CControlUI::SetBorderColor(uint32_t argb) {
    m_borderColor = argb;
    if (m_borderSize == 0)
        m_borderSize = 1;
    Invalidate();
}

void CControlUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "name")
        m_name = Wide(value);
    else if (name == "text")
        m_text = Wide(value);
    else if (name == "width")
        ReadSize(value, m_fixedWidth);
    else if (name == "height")
        ReadSize(value, m_fixedHeight);
    else if (name == "padding")
        ReadRect(value, m_padding);
    else if (name == "visible") {
        if (const auto b = ParseBool(value))
            m_visible = *b;
    } else if (name == "enabled") {
        if (const auto b = ParseBool(value))
            m_enabled = *b;
    } else if (name == "accname")
        m_accName = Wide(value);
    else if (name == "accrole")
        m_accRole = ReadRole(value);
    else if (name == "bkcolor")
        ReadColor(value, m_bkColor);
    else if (name == "bkimage" || name == "image")
        m_bkImage = Wide(value);
    else if (name == "bordercolor") {
        ReadColor(value, m_borderColor);
        if (m_borderSize == 0)
            m_borderSize = 1;
    } else if (name == "bordersize") {
        if (const auto v = ParseInt(value); v && *v >= 0)
            m_borderSize = *v;
    } else if (name == "borderround") {
        if (const auto v = ParseInt(value); v && *v >= 0)
            m_borderRound = *v;
    }
}

void CControlUI::SetPos(const RECT& rect) {
    m_rect = rect;
    Invalidate();
}

RECT CControlUI::GetVisibleRect() const {
    RECT visible = m_rect;
    for (const CContainerUI* p = m_parent; p != nullptr; p = p->GetParent())
        if (p->IsScrollable())
            visible = Intersection(visible, p->ChildClipRect());
    return visible;
}

CControlUI* CControlUI::FindMouseTarget(POINT point) {
    if (!m_visible || !TakesMouse() || !PtInRect(&m_rect, point))
        return nullptr;
    return this;
}

CControlUI* CControlUI::FindControl(const std::wstring& name) {
    return m_name == name ? this : nullptr;
}

void CControlUI::DoPaint(HDC dc, const RECT& dirty) {
    RECT overlap;
    if (!m_visible || !IntersectRect(&overlap, &m_rect, &dirty))
        return;
    PaintBackground(dc);
    PaintContent(dc);
    PaintBorder(dc);
}

const Palette& CControlUI::Colors() const {
    static const Palette skinColors;
    return m_manager != nullptr ? m_manager->GetPalette() : skinColors;
}

void CControlUI::PaintBackground(HDC dc) {
    const Palette& colors = Colors();
    FillBox(dc, m_rect, colors.Pick(Ink::Fill, m_bkColor), Scaled(m_borderRound));
    if (!m_bkImage.empty() && m_manager != nullptr &&
        (colors.DrawsBackgroundPictures() || ShowsPictureAsContent(*this)))
        DrawPicture(dc, m_rect, m_manager->GetImage(m_bkImage));
}

void CControlUI::PaintBorder(HDC dc) {
    DrawBoxBorder(dc, m_rect, Colors().Pick(Ink::Border, m_borderColor), Scaled(m_borderSize),
                  Scaled(m_borderRound));
}

void CControlUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
    m_manager = manager;
    m_parent = parent;
}

void CControlUI::Invalidate() {
    if (m_manager != nullptr && m_visible)
        m_manager->Invalidate(m_rect);
}

void CControlUI::NeedParentUpdate() {
    if (m_parent != nullptr)
        m_parent->NeedUpdate();
    else if (m_manager != nullptr)
        m_manager->NeedUpdate();
}

void CLabelUI::SetTextColor(uint32_t argb) {
    m_textColor = argb;
    Invalidate();
}

void CLabelUI::SetFont(int id) {
    m_font = id;
    Invalidate();
}

void CLabelUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "textcolor")
        ReadColor(value, m_textColor);
    else if (name == "font") {
        if (const auto v = ParseInt(value))
            m_font = *v;
    } else if (name == "align") {
        m_format &= ~(DT_LEFT | DT_CENTER | DT_RIGHT);
        if (MarkupNameEquals(value, "center"))
            m_format |= DT_CENTER;
        else if (MarkupNameEquals(value, "right"))
            m_format |= DT_RIGHT;
        else
            m_format |= DT_LEFT;
    } else if (name == "valign") {
        m_format &= ~(DT_TOP | DT_VCENTER | DT_BOTTOM);
        if (MarkupNameEquals(value, "top"))
            m_format |= DT_TOP;
        else if (MarkupNameEquals(value, "bottom"))
            m_format |= DT_BOTTOM;
        else
            m_format |= DT_VCENTER;
    } else if (name == "multiline") {
        if (ParseBool(value).value_or(false))
            m_format = (m_format & ~(DT_SINGLELINE | DT_END_ELLIPSIS)) | DT_WORDBREAK;
        else
            m_format = (m_format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_END_ELLIPSIS;
    } else if (name == "textpadding")
        ReadRect(value, m_textPadding);
    else
        CControlUI::SetAttribute(name, value);
}

void CLabelUI::PaintContent(HDC dc) {
    PaintText(dc, Colors().Pick(Ink::Text, m_textColor));
}

void CLabelUI::PaintText(HDC dc, uint32_t color) {
    if (m_text.empty() || m_manager == nullptr)
        return;
    const RECT pad = Scaled(m_textPadding);
    RECT r = {m_rect.left + pad.left, m_rect.top + pad.top, m_rect.right - pad.right,
              m_rect.bottom - pad.bottom};
    DrawTextIn(dc, r, m_text, m_manager->GetFont(m_font), color, m_format);
}

void CButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "hotbkcolor")
        ReadColor(value, m_hotBkColor);
    else if (name == "pushedbkcolor")
        ReadColor(value, m_pushedBkColor);
    else if (name == "hottextcolor")
        ReadColor(value, m_hotTextColor);
    else if (name == "normalimage")
        m_normalImage = Wide(value);
    else if (name == "hotimage")
        m_hotImage = Wide(value);
    else if (name == "pushedimage")
        m_pushedImage = Wide(value);
    else
        CLabelUI::SetAttribute(name, value);
}

bool CButtonUI::IsTabStop() const {
    return m_visible && m_enabled && !IsCaptionButtonName(m_name);
}

void CButtonUI::DoEvent(const UiEvent& event) {
    const bool inside = PtInRect(&m_rect, event.point) != FALSE;
    const bool wasHot = m_hot;
    const bool wasPushed = m_pushed;
    switch (event.type) {
    case UiEventType::MouseEnter:
        m_hot = true;
        break;
    case UiEventType::MouseLeave:
        m_hot = false;
        m_pushed = false;
        m_captured = false;
        break;
    case UiEventType::ButtonDown:
        m_captured = true;
        // The press leaves the keyboard focus where it was: a focused link
        // would open its page again on a later Enter.
        m_pushed = inside;
        break;
    case UiEventType::MouseMove:
        if (m_captured)
            m_pushed = inside;
        break;
    case UiEventType::ButtonUp: {
        const bool click = m_captured && inside;
        m_captured = false;
        m_pushed = false;
        m_hot = inside;
        Invalidate();
        // The notification may close the window; touch nothing after it.
        if (click && m_manager != nullptr)
            m_manager->SendNotify(this, L"click");
        return;
    }
    }
    if (wasHot != m_hot || wasPushed != m_pushed)
        Invalidate();
}

bool CButtonUI::IsPushButton() const {
    return m_accRole != AccessibleRole::Link && !IsCaptionButtonName(m_name);
}

bool CButtonUI::IsLit() const {
    return (m_pushed && m_pushedBkColor != 0) || ((m_hot || m_pushed) && m_hotBkColor != 0);
}

uint32_t CButtonUI::TextArgb() const {
    const uint32_t skin = (m_hot || m_pushed) && m_hotTextColor != 0 ? m_hotTextColor : m_textColor;
    Ink ink = Ink::Text; // a caption button's glyph lies on the window
    if (IsLit())
        ink = Ink::HighlightText;
    else if (m_accRole == AccessibleRole::Link)
        ink = Ink::Link;
    else if (IsPushButton())
        ink = Ink::ButtonText;
    return Colors().Pick(ink, skin);
}

void CButtonUI::PaintBackground(HDC dc) {
    uint32_t color = m_bkColor;
    if (m_pushed && m_pushedBkColor != 0)
        color = m_pushedBkColor;
    else if ((m_hot || m_pushed) && m_hotBkColor != 0)
        color = m_hotBkColor;
    const Ink ink = IsLit() ? Ink::Highlight : IsPushButton() ? Ink::ButtonFace : Ink::Fill;
    const Palette& colors = Colors();
    FillBox(dc, m_rect, colors.Pick(ink, color), Scaled(m_borderRound));
    const std::wstring* image = &m_bkImage;
    if (!m_normalImage.empty())
        image = &m_normalImage;
    if (m_pushed && !m_pushedImage.empty())
        image = &m_pushedImage;
    else if ((m_hot || m_pushed) && !m_hotImage.empty())
        image = &m_hotImage;
    // A button's picture is its glyph (the close cross): under a contrast
    // theme it is drawn in the button's text colour.
    if (!image->empty() && m_manager != nullptr)
        DrawPicture(dc, m_rect, m_manager->GetImage(*image), colors.GlyphTint(TextArgb()));
}

void CButtonUI::PaintContent(HDC dc) {
    PaintText(dc, TextArgb());
}

void CButtonUI::PaintBorder(HDC dc) {
    // Under a contrast theme a push button without a border of its own gets
    // a one-pixel frame: its face may be the window's colour.
    const int width = m_borderColor != 0 ? m_borderSize : 1;
    DrawBoxBorder(dc, m_rect,
                  Colors().Pick(IsPushButton() ? Ink::ButtonFrame : Ink::Border, m_borderColor),
                  Scaled(width), Scaled(m_borderRound));
}

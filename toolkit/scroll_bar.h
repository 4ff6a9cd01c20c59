// The scroll bar of a scroll area: a rounded thumb on a track along the
// area's right edge, in the skin's colours. The thumb is dragged; a press on
// the track pages towards the pointer. The owner container places it, paints
// it over its children and asks it first for the mouse.
#pragma once

#include "toolkit/control.h"

class CContainerUI;

class CScrollBarUI : public CControlUI {
public:
    explicit CScrollBarUI(CContainerUI& owner) : m_owner(owner) {}
    const wchar_t* GetClass() const override { return L"ScrollBar"; }

    // "scrollthumbcolor", "scrollthumbhotcolor", "scrolltrackcolor".
    static bool IsScrollBarAttribute(const std::string& name);
    void SetAttribute(const std::string& name, const std::string& value) override;

    // Along the right edge of the owner's rectangle, as tall as its viewport.
    void Place(const RECT& ownerRect, const RECT& viewport);
    // Empty when there is nothing to scroll.
    RECT ThumbRect() const;

    bool TakesMouse() const override;
    void DoEvent(const UiEvent& event) override;

protected:
    void PaintBackground(HDC dc) override;
    void PaintContent(HDC dc) override;

private:
    CContainerUI& m_owner;
    bool m_hot = false;
    bool m_dragging = false;
    int m_dragStartY = 0;
    int m_dragStartPos = 0;
    // Until the skin says otherwise: a translucent grey thumb, no track.
    uint32_t m_thumbColor = 0x66808080u;
    uint32_t m_thumbHotColor = 0x99808080u;
    uint32_t m_trackColor = 0;
};

// Keyboard use of a toolkit window: the tab order, keys that click, and the
// focus ring that appears once the keyboard is used.
#include "tests/toolkit/gui_helpers.h"
#include "tests/toolkit/test_window.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Tab stops, in order: a, b, page1, c. Not: the caption button, a hidden
// and a disabled button, the unselected page, a hidden container's button.
const char kKeyLayout[] = R"(<Window size="400,300" bkcolor="#FFFFFFFF" accentcolor="#FFFF00FF">
  <VerticalLayout inset="20,20,20,20" childpadding="10">
    <HorizontalLayout height="40" childpadding="10">
      <Button name="closebtn" width="40"/>
      <Button name="a" width="80"/>
      <Button name="hidden" width="80" visible="false"/>
      <Button name="off" width="80" enabled="false"/>
      <Button name="b" width="80"/>
    </HorizontalLayout>
    <TabLayout name="tabs" height="40" selectedid="1">
      <Button name="page0"/>
      <VerticalLayout><Button name="page1" width="100"/></VerticalLayout>
    </TabLayout>
    <Container height="40" visible="false"><Button name="inhidden"/></Container>
    <Button name="c" height="40" width="100"/>
  </VerticalLayout>
</Window>)";

// A key as the window gets it, with Shift held or not in this thread's
// keyboard state (which GetKeyState reads).
void Key(HWND window, WPARAM key, bool shift = false, LPARAM flags = 1) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(window, WM_KEYDOWN, key, flags);
    SendMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = OpenTestWindow(skin, L"keys.xml", kKeyLayout);
        ASSERT_NE(window, nullptr);
    }
    CPaintManagerUI& pm() { return window->GetPaintManager(); }
    std::wstring Focused() {
        return pm().GetFocus() != nullptr ? pm().GetFocus()->GetName() : L"(none)";
    }

    TestSkin skin;
    std::unique_ptr<TestWindow> window;
};

} // namespace

TEST_F(KeyboardTest, TabAndShiftTabFollowTheLayoutAndWrap) {
    std::vector<std::wstring> order;
    for (CControlUI* stop : pm().TabStops())
        order.push_back(stop->GetName());
    EXPECT_EQ(order, (std::vector<std::wstring>{L"a", L"b", L"page1", L"c"}));

    EXPECT_EQ(Focused(), L"(none)"); // nothing focused at first
    std::vector<std::wstring> seen;
    for (int i = 0; i < 5; ++i) {
        Key(*window, VK_TAB);
        seen.push_back(Focused());
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"a", L"b", L"page1", L"c", L"a"}));
    Key(*window, VK_TAB, true);
    EXPECT_EQ(Focused(), L"c"); // back over the start

    // Another page: its button replaces the other in the order.
    dynamic_cast<CTabLayoutUI*>(pm().FindControl(L"tabs"))->SelectItem(0);
    pm().SetFocus(nullptr, false);
    Key(*window, VK_TAB, true);
    Key(*window, VK_TAB, true);
    EXPECT_EQ(Focused(), L"page0");
}

TEST_F(KeyboardTest, EnterAndSpaceClickTheFocusedButtonOnly) {
    // Nothing focused: Enter and Space do nothing.
    Key(*window, VK_RETURN);
    Key(*window, VK_SPACE);
    EXPECT_TRUE(window->clicks.empty());

    Key(*window, VK_TAB); // a
    Key(*window, VK_RETURN);
    ASSERT_EQ(window->clicks, (std::vector<std::wstring>{L"a"}));
    // A held Enter repeats (bit 30 set): no second click.
    Key(*window, VK_RETURN, false, static_cast<LPARAM>(1 | (1 << 30)));
    EXPECT_EQ(window->clicks.size(), 1u);

    // Space clicks when released, on the control it was pressed on.
    SendMessageW(*window, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(window->clicks.size(), 1u);
    SendMessageW(*window, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
    EXPECT_EQ(window->clicks, (std::vector<std::wstring>{L"a", L"a"}));
    SendMessageW(*window, WM_KEYDOWN, VK_SPACE, 1);
    Key(*window, VK_TAB); // b
    SendMessageW(*window, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
    EXPECT_EQ(window->clicks.size(), 2u);

    // A focused control that is no longer shown is not clicked.
    pm().FindControl(L"b")->SetVisible(false);
    Key(*window, VK_RETURN);
    EXPECT_EQ(window->clicks.size(), 2u);
}

TEST_F(KeyboardTest, TheFocusRingShowsOnceTheKeyboardIsUsed) {
    ShowWindow(*window, SW_SHOWNORMAL);
    SetForegroundWindow(*window);
    ::SetFocus(*window);
    ASSERT_EQ(GetFocus(), window->GetHWND());
    const RECT b = pm().FindControl(L"b")->GetPos();
    // The ring is 2 px wide, 1 px outside the control.
    const POINT ring = {b.left - 3, (b.top + b.bottom) / 2};
    auto ringPixel = [&] {
        UpdateWindow(*window);
        HDC dc = GetDC(*window);
        const COLORREF pixel = GetPixel(dc, ring.x, ring.y);
        ReleaseDC(*window, dc);
        return pixel;
    };
    // A click neither focuses the button nor shows a ring.
    PostClick(*window, POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2});
    PumpPending();
    EXPECT_EQ(Focused(), L"(none)");
    EXPECT_FALSE(pm().IsFocusRingShown());
    EXPECT_EQ(ringPixel(), RGB(255, 255, 255));

    Key(*window, VK_TAB); // a, and the keyboard is in use
    Key(*window, VK_TAB); // b
    EXPECT_EQ(Focused(), L"b");
    EXPECT_TRUE(pm().IsFocusRingShown());
    EXPECT_EQ(ringPixel(), RGB(255, 0, 255)); // the skin's accent colour
}

TEST_F(KeyboardTest, AClickLeavesTheKeyboardFocusAlone) {
    auto click = [&](const wchar_t* name) {
        POINT centre;
        ASSERT_TRUE(ControlCentre(pm(), name, centre)) << name;
        PostClick(*window, centre);
        PumpPending();
    };
    // A clicked control is not focused: Enter and Space do not click it again.
    click(L"c");
    Key(*window, VK_RETURN);
    Key(*window, VK_SPACE);
    EXPECT_EQ(window->clicks, (std::vector<std::wstring>{L"c"}));
    EXPECT_EQ(Focused(), L"(none)");

    // What the keyboard focused keeps the focus through a click elsewhere.
    Key(*window, VK_TAB); // a
    click(L"c");
    EXPECT_EQ(Focused(), L"a");
    Key(*window, VK_RETURN);
    EXPECT_EQ(window->clicks, (std::vector<std::wstring>{L"c", L"c", L"a"}));
}

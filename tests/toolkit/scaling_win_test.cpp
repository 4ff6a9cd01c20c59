// The toolkit at other DPIs and on small screens: everything authored scales
// once, windows fit their work area, and scroll areas give up room, scroll
// and keep the bars around them in view.
#include "support/files_win.h"
#include "tests/toolkit/gui_helpers.h"
#include "tests/toolkit/test_window.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <memory>

#include <objidl.h>
#include <algorithm>
using std::max;
using std::min;
#include <gdiplus.h>

namespace {

const char kScaleLayout[] = R"(<Window size="300,200" caption="40">
  <Font id="0" name="Segoe UI" size="12" default="true"/>
  <VerticalLayout name="root" inset="10,10,10,10" childpadding="4">
    <Label name="title" height="20" padding="2,0,2,0" text="Hello"/>
    <Button name="ok" width="100" height="30"/>
    <Picture name="pic" image="pic.png" width="20" height="20"/>
  </VerticalLayout>
</Window>)";

// Eight 60 px rows and a button in a 270 px viewport between a header and
// a footer: the content is 8 * 60 + 30 + 8 * 10 = 590 px.
const char kScrollLayout[] = R"(<Window size="300,400">
  <VerticalLayout>
    <Control name="head" height="50"/>
    <VerticalLayout name="area" height="400" inset="0,10,20,10" childpadding="10" vscrollbar="true"
                    scrollthumbcolor="#FF00FF00">
      <Control name="row0" height="60" bkcolor="#FFFF0000"/>
      <Control height="60"/><Control height="60"/><Control height="60"/>
      <Control height="60"/><Control height="60"/><Control height="60"/>
      <Control name="row7" height="60"/>
      <Button name="last" height="30"/>
    </VerticalLayout>
    <Button name="foot" height="60"/>
  </VerticalLayout>
</Window>)";
constexpr int kContent = 590;
constexpr int kViewport = 270;

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    ReadWholeFile(path, bytes, 1024 * 1024);
    return bytes;
}

std::unique_ptr<TestWindow> Open(TestSkin& skin, const std::string& layout) {
    return OpenTestWindow(skin, L"layout.xml", layout);
}

CContainerUI* ScrollArea(TestWindow& window) {
    return dynamic_cast<CContainerUI*>(window.GetPaintManager().FindControl(L"area"));
}

// What Windows sends when the window moves to a monitor of another scale.
void ChangeDpi(HWND window, int dpi, int width, int height) {
    RECT suggested;
    GetWindowRect(window, &suggested);
    suggested.right = suggested.left + width;
    suggested.bottom = suggested.top + height;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

int FontEmHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight - metrics.tmInternalLeading;
}

} // namespace

TEST(ToolkitScalingTest, DpiChangeScalesLayoutFontsCaptionAndPictures) {
    TestSkin skin;
    // The skin's badge and its double-size twin; "plain" has no twin.
    const std::wstring skinFolder = CPaintManagerUI::GetInstancePath() + L"skin_tavolex_en\\";
    skin.Write(L"pic.png", ReadBytes(skinFolder + L"ok.png"));
    skin.Write(L"pic@2x.png", ReadBytes(skinFolder + L"ok@2x.png"));
    skin.Write(L"plain.png", ReadBytes(skinFolder + L"ok.png"));
    auto w = Open(skin, kScaleLayout);
    ASSERT_NE(w, nullptr);
    CPaintManagerUI& pm = w->GetPaintManager();
    auto find = [&](const wchar_t* name) { return pm.FindControl(name); };
    const RECT title96 = find(L"title")->GetPos();
    EXPECT_TRUE(SameRect(title96, 12, 10, 288, 30));
    ASSERT_NE(pm.GetImage(L"pic.png"), nullptr);
    EXPECT_EQ(pm.GetImage(L"pic.png")->GetWidth(), 64u);

    ChangeDpi(*w, 144, 450, 300);
    pm.UpdateLayout();
    EXPECT_EQ(pm.GetDpi(), 144);
    EXPECT_EQ(ClientSize(*w).cx, 450);
    EXPECT_EQ(ClientSize(*w).cy, 300);
    // Inset 10 -> 15, padding 2 -> 3, height 20 -> 30, gap 4 -> 6.
    EXPECT_TRUE(SameRect(find(L"title")->GetPos(), 18, 15, 432, 45));
    EXPECT_TRUE(SameRect(find(L"ok")->GetPos(), 15, 51, 165, 96));
    EXPECT_TRUE(SameRect(find(L"pic")->GetPos(), 15, 102, 45, 132));
    // A 12 px font is made at 18 px; the authored sizes stay as they were.
    LOGFONTW font = {};
    GetObjectW(pm.GetFont(0), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -18);
    EXPECT_NEAR(FontEmHeight(pm.GetFont(0)), 18, 1);
    EXPECT_EQ(find(L"ok")->GetFixedWidth(), 100);
    // The double-size picture where there is one.
    EXPECT_EQ(pm.GetImage(L"pic.png")->GetWidth(), 128u);
    EXPECT_EQ(pm.GetImage(L"plain.png")->GetWidth(), 64u);
    // The caption is 40 authored pixels: 60 now.
    RECT frame;
    GetWindowRect(*w, &frame);
    EXPECT_EQ(SendMessageW(*w, WM_NCHITTEST, 0, MAKELPARAM(frame.left + 300, frame.top + 55)),
              HTCAPTION);
    EXPECT_EQ(SendMessageW(*w, WM_NCHITTEST, 0, MAKELPARAM(frame.left + 300, frame.top + 65)),
              HTCLIENT);

    // And back: exactly the 96 DPI layout again.
    ChangeDpi(*w, 96, 300, 200);
    pm.UpdateLayout();
    EXPECT_TRUE(SameRect(find(L"title")->GetPos(), title96.left, title96.top, title96.right,
                         title96.bottom));
    GetObjectW(pm.GetFont(0), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -12);
}

TEST(ToolkitScalingTest, NoWindowIsLargerThanItsWorkArea) {
    TestSkin skin;
    auto w = Open(skin, R"(<Window size="300,5000"><VerticalLayout/></Window>)");
    ASSERT_NE(w, nullptr);
    const RECT work = WorkAreaOf(*w);
    EXPECT_EQ(ClientSize(*w).cx, 300);
    EXPECT_EQ(ClientSize(*w).cy, work.bottom - work.top);
    // Nor after a DPI change that suggests more.
    ChangeDpi(*w, 192, 5000, 300);
    EXPECT_EQ(ClientSize(*w).cx, work.right - work.left);
    EXPECT_EQ(ClientSize(*w).cy, 300);
}

TEST(ToolkitScalingTest, ScrollAreaGivesUpRoomAndKeepsTheBarsAroundItInView) {
    TestSkin skin;
    auto w = Open(skin, kScrollLayout);
    ASSERT_NE(w, nullptr);
    CPaintManagerUI& pm = w->GetPaintManager();
    auto* area = ScrollArea(*w);
    ASSERT_NE(area, nullptr);
    // 400 authored, but only 290 are left between header and footer.
    EXPECT_TRUE(SameRect(area->GetPos(), 0, 50, 300, 340));
    EXPECT_TRUE(SameRect(pm.FindControl(L"foot")->GetPos(), 0, 340, 300, 400));
    EXPECT_EQ(area->GetViewportHeight(), kViewport);
    EXPECT_EQ(area->GetScrollRange(), kContent - kViewport);
    EXPECT_EQ(pm.FindControl(L"row0")->GetPos().top, 60);
    RECT lastSeen = pm.FindControl(L"last")->GetVisibleRect();
    EXPECT_TRUE(IsRectEmpty(&lastSeen));

    // The keys: End, Home, Page Down (a page less one 40 px step).
    SendMessageW(*w, WM_KEYDOWN, VK_END, 0);
    pm.UpdateLayout();
    EXPECT_EQ(area->GetScrollPos(), kContent - kViewport);
    const RECT last = pm.FindControl(L"last")->GetPos();
    lastSeen = pm.FindControl(L"last")->GetVisibleRect();
    EXPECT_TRUE(EqualRect(&last, &lastSeen));
    EXPECT_EQ(last.bottom, 330);
    SendMessageW(*w, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(area->GetScrollPos(), 0);
    SendMessageW(*w, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(area->GetScrollPos(), kViewport - 40);
    SendMessageW(*w, WM_KEYDOWN, VK_HOME, 0);

    // The wheel: the system's lines per notch, 20 px a line.
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    POINT over = {100, 200};
    ClientToScreen(*w, &over);
    SendMessageW(*w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(over.x, over.y));
    pm.UpdateLayout();
    const int expected = lines == WHEEL_PAGESCROLL ? kViewport : static_cast<int>(lines) * 20;
    EXPECT_EQ(area->GetScrollPos(), std::min(expected, kContent - kViewport));
    EXPECT_EQ(pm.FindControl(L"row0")->GetPos().top, 60 - area->GetScrollPos());

    // Content scrolled under the bottom inset cannot be clicked there.
    area->SetScrollPos(kContent - kViewport - 20); // "last" reaches 10 px past the viewport
    pm.UpdateLayout();
    EXPECT_EQ(pm.FindControl(L"last")->GetPos().bottom, 350);
    CControlUI* root = pm.GetRoot();
    EXPECT_EQ(root->FindMouseTarget(POINT{100, 325}), pm.FindControl(L"last"));
    EXPECT_NE(root->FindMouseTarget(POINT{100, 335}), pm.FindControl(L"last"));
}

TEST(ToolkitScalingTest, ScrollBarIsPaintedInTheSkinColourAndDragged) {
    TestSkin skin;
    auto w = Open(skin, kScrollLayout);
    ASSERT_NE(w, nullptr);
    CPaintManagerUI& pm = w->GetPaintManager();
    auto* area = ScrollArea(*w);
    ASSERT_NE(area, nullptr);
    // The bar: 8 px wide, 6 px from the right edge, as tall as the viewport;
    // the thumb shows the visible share of the content.
    const int barX = 300 - 6 - 4;
    const int thumb = kViewport * kViewport / kContent;
    UpdateWindow(*w);
    HDC dc = GetDC(*w);
    EXPECT_EQ(GetPixel(dc, barX, 60 + thumb / 2), RGB(0, 255, 0));
    EXPECT_NE(GetPixel(dc, barX, 60 + thumb + 20), RGB(0, 255, 0));
    ReleaseDC(*w, dc);

    // Dragging the thumb by its free room scrolls over the whole range.
    const int room = kViewport - thumb;
    SendMessageW(*w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(barX, 60 + thumb / 2));
    SendMessageW(*w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(barX, 60 + thumb / 2 + room / 2));
    EXPECT_NEAR(area->GetScrollPos(), (kContent - kViewport) / 2, 3);
    SendMessageW(*w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(barX, 60 + thumb / 2 + room + 50));
    SendMessageW(*w, WM_LBUTTONUP, 0, MAKELPARAM(barX, 60 + thumb / 2 + room + 50));
    EXPECT_EQ(area->GetScrollPos(), kContent - kViewport);
    EXPECT_TRUE(w->clicks.empty());
    // A press on the track above the thumb turns a page back.
    pm.UpdateLayout();
    SendMessageW(*w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(barX, 62));
    SendMessageW(*w, WM_LBUTTONUP, 0, MAKELPARAM(barX, 62));
    EXPECT_EQ(area->GetScrollPos(), kContent - 2 * kViewport);
}

TEST(ToolkitScalingTest, ScrollAreaWithRoomLaysOutAsAPlainContainer) {
    // The same rows in a window tall enough for them, once as a scroll area
    // and once without: the same rectangles, and no bar.
    std::string tall = kScrollLayout;
    tall.replace(tall.find("size=\"300,400\""), 14, "size=\"300,800\"");
    tall.replace(tall.find("height=\"400\""), 12, "height=\"650\"");
    std::string tallPlain = tall;
    tallPlain.replace(tallPlain.find("vscrollbar=\"true\""), 17, "");
    TestSkin skinA;
    auto scrolling = Open(skinA, tall);
    ASSERT_NE(scrolling, nullptr);
    std::vector<RECT> rects;
    auto* area = ScrollArea(*scrolling);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->GetScrollRange(), 0);
    for (int i = 0; i < area->GetCount(); ++i)
        rects.push_back(area->GetItemAt(i)->GetPos());
    scrolling.reset();
    TestSkin skinB;
    auto still = Open(skinB, tallPlain);
    ASSERT_NE(still, nullptr);
    auto* same = ScrollArea(*still);
    ASSERT_NE(same, nullptr);
    ASSERT_EQ(same->GetCount(), static_cast<int>(rects.size()));
    for (int i = 0; i < same->GetCount(); ++i)
        EXPECT_TRUE(EqualRect(&rects[static_cast<size_t>(i)], &same->GetItemAt(i)->GetPos())) << i;
}

TEST(ToolkitScalingTest, FocusBringsAControlInAScrollAreaIntoView) {
    TestSkin skin;
    auto w = Open(skin, kScrollLayout);
    ASSERT_NE(w, nullptr);
    CPaintManagerUI& pm = w->GetPaintManager();
    // "last" is the first tab stop, far below the viewport.
    SendMessageW(*w, WM_KEYDOWN, VK_TAB, 0);
    pm.UpdateLayout();
    ASSERT_EQ(pm.GetFocus(), pm.FindControl(L"last"));
    const RECT r = pm.FindControl(L"last")->GetPos();
    const RECT seen = pm.FindControl(L"last")->GetVisibleRect();
    EXPECT_TRUE(EqualRect(&r, &seen));
    // With some room below it for its ring.
    EXPECT_LE(r.bottom, 340 - 8);
}

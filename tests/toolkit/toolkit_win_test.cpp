// The toolkit on real windows: layout building, placement, painting, mouse
// and keys, and the layout failure path.
#include "tests/toolkit/gui_helpers.h"
#include "tests/toolkit/test_window.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <objidl.h>
#include <algorithm>
using std::max;
using std::min;
#include <gdiplus.h>

namespace {

const char kLayout[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200" caption="40" bkcolor="#FFFFFFFF">
  <Font id="0" name="Segoe UI" size="14" default="true"/>
  <Font id="1" name="Segoe UI" size="20" bold="true"/>
  <VERTICALLAYOUT name="root" inset="10,10,10,10" childpadding="5">
    <Label name="title" text="Hello" height="30" font="1" textcolor="#FF112233"/>
    <HorizontalLayout name="row" height="50" childpadding="4">
      <Button name="left" width="100" bkcolor="#FFFF0000" hotbkcolor="#FF00FF00" pushedbkcolor="#FF0000FF"/>
      <Control name="gap"/>
      <Button name="right" width="60" height="20" padding="0,0,6,0"/>
    </HorizontalLayout>
    <Label name="hidden" height="40" visible="false"/>
    <Widget name="unknown"><Label name="insideUnknown"/></Widget>
    <TabLayout name="tabs" height="30" selectedid="1">
      <Label name="page0"/>
      <Label name="page1" bkcolor="#FF00FF00"/>
    </TabLayout>
    <Control name="rest"/>
  </VERTICALLAYOUT>
</Window>)";

int g_failures = 0;
void CountFailure() {
    ++g_failures;
}

class ToolkitWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = OpenTestWindow(skin, L"layout.xml", kLayout);
        ASSERT_NE(window, nullptr);
    }
    CControlUI* Find(const wchar_t* name) { return window->GetPaintManager().FindControl(name); }

    TestSkin skin;
    std::unique_ptr<TestWindow> window;
};

} // namespace

TEST_F(ToolkitWindowTest, BuildsTheTreeAndSizesTheFramelessWindow) {
    EXPECT_EQ(window->initCalls, 1);
    RECT client;
    GetClientRect(*window, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    const LONG_PTR style = GetWindowLongPtrW(*window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_CLIPCHILDREN, 0);
    EXPECT_NE(style & WS_CLIPSIBLINGS, 0);

    // Class names ignore ASCII case; unknown classes are skipped whole.
    ASSERT_NE(Find(L"root"), nullptr);
    EXPECT_STREQ(Find(L"root")->GetClass(), L"VerticalLayout");
    EXPECT_STREQ(Find(L"left")->GetClass(), L"Button");
    EXPECT_EQ(Find(L"unknown"), nullptr);
    EXPECT_EQ(Find(L"insideUnknown"), nullptr);
    EXPECT_EQ(Find(L"nosuch"), nullptr);
    EXPECT_EQ(Find(L""), nullptr);
    EXPECT_EQ(Find(L"title")->GetText(), L"Hello");
    EXPECT_EQ(static_cast<CLabelUI*>(Find(L"title"))->GetTextColor(), 0xFF112233u);
    EXPECT_FALSE(Find(L"hidden")->IsVisible());
}

TEST_F(ToolkitWindowTest, PlacesChildrenByFixedSizeStretchPaddingAndInset) {
    EXPECT_TRUE(SameRect(Find(L"title")->GetPos(), 10, 10, 290, 40));
    EXPECT_TRUE(SameRect(Find(L"row")->GetPos(), 10, 45, 290, 95));
    EXPECT_TRUE(SameRect(Find(L"left")->GetPos(), 10, 45, 110, 95));
    // The right button: 60 wide, 6 px right padding, 20 high centred in 50.
    EXPECT_TRUE(SameRect(Find(L"right")->GetPos(), 224, 60, 284, 80));
    EXPECT_TRUE(SameRect(Find(L"gap")->GetPos(), 114, 45, 220, 95));
    // The hidden label takes no room; the tab follows the row directly.
    EXPECT_TRUE(SameRect(Find(L"tabs")->GetPos(), 10, 100, 290, 130));
    EXPECT_TRUE(SameRect(Find(L"rest")->GetPos(), 10, 135, 290, 190));

    // Showing a control and changing a height lay the window out again.
    Find(L"hidden")->SetVisible(true);
    Find(L"title")->SetFixedHeight(20);
    window->GetPaintManager().UpdateLayout();
    EXPECT_TRUE(SameRect(Find(L"hidden")->GetPos(), 10, 90, 290, 130));
    EXPECT_TRUE(SameRect(Find(L"tabs")->GetPos(), 10, 135, 290, 165));
}

TEST_F(ToolkitWindowTest, TabLayoutShowsOnlyTheSelectedPage) {
    auto* tabs = dynamic_cast<CTabLayoutUI*>(Find(L"tabs"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_TRUE(SameRect(Find(L"page1")->GetPos(), 10, 100, 290, 130));
    EXPECT_TRUE(tabs->SelectItem(0));
    EXPECT_FALSE(tabs->SelectItem(2));
    EXPECT_FALSE(tabs->SelectItem(-1));
    EXPECT_EQ(tabs->GetCurSel(), 0);
    window->GetPaintManager().UpdateLayout();
    EXPECT_TRUE(SameRect(Find(L"page0")->GetPos(), 10, 100, 290, 130));

    // Painting the page shows page 0's (empty) background, not page 1's green.
    UpdateWindow(*window);
    HDC dc = GetDC(*window);
    const COLORREF pixel = GetPixel(dc, 150, 115);
    ReleaseDC(*window, dc);
    EXPECT_EQ(pixel, RGB(255, 255, 255));
    tabs->SelectItem(1);
    UpdateWindow(*window);
    dc = GetDC(*window);
    EXPECT_EQ(GetPixel(dc, 150, 115), RGB(0, 255, 0));
    ReleaseDC(*window, dc);
}

TEST_F(ToolkitWindowTest, ButtonStatesAndClickOnReleaseInside) {
    auto* left = dynamic_cast<CButtonUI*>(Find(L"left"));
    ASSERT_NE(left, nullptr);
    const LPARAM inside = MAKELPARAM(50, 60);
    const LPARAM outside = MAKELPARAM(200, 170);

    SendMessageW(*window, WM_MOUSEMOVE, 0, inside);
    EXPECT_TRUE(left->IsHot());
    UpdateWindow(*window);
    HDC dc = GetDC(*window);
    EXPECT_EQ(GetPixel(dc, 50, 60), RGB(0, 255, 0)); // hot colour painted
    ReleaseDC(*window, dc);

    SendMessageW(*window, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_TRUE(left->IsPushed());
    // Dragging out un-pushes; releasing outside is no click.
    SendMessageW(*window, WM_MOUSEMOVE, MK_LBUTTON, outside);
    EXPECT_FALSE(left->IsPushed());
    SendMessageW(*window, WM_LBUTTONUP, 0, outside);
    EXPECT_TRUE(window->clicks.empty());

    // Pressing on one button and releasing on another clicks neither.
    SendMessageW(*window, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    SendMessageW(*window, WM_LBUTTONUP, 0, MAKELPARAM(250, 70));
    EXPECT_TRUE(window->clicks.empty());

    SendMessageW(*window, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    SendMessageW(*window, WM_LBUTTONUP, 0, inside);
    ASSERT_EQ(window->clicks.size(), 1u);
    EXPECT_EQ(window->clicks[0], L"left");
    EXPECT_FALSE(left->IsPushed());

    SendMessageW(*window, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(left->IsHot());
}

TEST_F(ToolkitWindowTest, CaptionDragsExceptOverButtons) {
    RECT window_rect;
    GetWindowRect(*window, &window_rect);
    auto hit = [&](int x, int y) {
        return SendMessageW(*window, WM_NCHITTEST, 0,
                            MAKELPARAM(window_rect.left + x, window_rect.top + y));
    };
    EXPECT_EQ(hit(150, 20), HTCAPTION);
    EXPECT_EQ(hit(150, 60), HTCLIENT);
    Find(L"title")->SetFixedHeight(0); // pull the button row under the caption
    EXPECT_EQ(hit(50, 20), HTCLIENT);
}

TEST_F(ToolkitWindowTest, EscapeClosesWithCodeOne) {
    ModalWatchdog watchdog(*window);
    PostKey(*window, VK_ESCAPE);
    EXPECT_EQ(window->ShowModal(), 1u);
    EXPECT_EQ(window->GetHWND(), nullptr);
}

TEST_F(ToolkitWindowTest, EnterLeavesTheWindowOpen) {
    PostKey(*window, VK_RETURN);
    PumpPending();
    EXPECT_TRUE(IsWindow(*window));
    ModalWatchdog watchdog(*window);
    window->Close(7);
    EXPECT_EQ(window->ShowModal(), 7u);
}

TEST_F(ToolkitWindowTest, SystemMenuCloseAndCloseButtonEndTheModalLoop) {
    ModalWatchdog watchdog(*window);
    PostMessageW(*window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(window->ShowModal(), 0u);

    TestSkin other;
    other.Write(L"close.xml", R"(<Window size="200,100"><HorizontalLayout>
        <Button name="closebtn"/></HorizontalLayout></Window>)");
    TestWindow closing(L"close.xml");
    ASSERT_NE(closing.Create(nullptr, nullptr, WINDOW_STYLE_DIALOG, 0), nullptr);
    ModalWatchdog second(closing);
    POINT centre;
    ASSERT_TRUE(ControlCentre(closing.GetPaintManager(), L"closebtn", centre));
    PostClick(closing, centre);
    EXPECT_EQ(closing.ShowModal(), 1u);
}

TEST_F(ToolkitWindowTest, CenterWindowKeepsSizeAndCentresOnTheWorkArea) {
    window->CenterWindow();
    RECT r;
    GetWindowRect(*window, &r);
    const RECT work = WorkAreaOf(*window);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
    EXPECT_LE(std::abs((r.left + r.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) - (work.top + work.bottom)), 1);

    // Taller than the work area: the top (the caption) stays on screen.
    SetWindowPos(*window, nullptr, 0, 0, 300, work.bottom - work.top + 400,
                 SWP_NOMOVE | SWP_NOZORDER);
    window->CenterWindow();
    GetWindowRect(*window, &r);
    EXPECT_EQ(r.top, work.top);
}

DWORD WINAPI HideAndCloseFromWorker(void* param) {
    auto* window = static_cast<TestWindow*>(param);
    window->ShowWindow(false, true);
    window->Close(3);
    return 0;
}

TEST_F(ToolkitWindowTest, ClosingFromAnotherThreadEndsTheLoop) {
    ModalWatchdog watchdog(*window);
    HANDLE thread = CreateThread(nullptr, 0, &HideAndCloseFromWorker, window.get(), 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(window->ShowModal(), 3u);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

TEST(ToolkitLayoutFailureTest, MissingOrBrokenLayoutCallsTheFailureHandler) {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    SetLayoutFailureHandler(&CountFailure);
    TestSkin skin;
    skin.Write(L"broken.xml", "<Window><VerticalLayout></Window>");
    skin.Write(L"empty.xml", "<Window size=\"10,10\"><Font id=\"0\"/></Window>");
    g_failures = 0;
    for (const wchar_t* file : {L"missing.xml", L"broken.xml", L"empty.xml"}) {
        TestWindow window(file);
        EXPECT_EQ(window.Create(nullptr, nullptr, WINDOW_STYLE_DIALOG, 0), nullptr) << file;
    }
    EXPECT_EQ(g_failures, 3);
    SetLayoutFailureHandler(nullptr);
}

TEST(ToolkitBuilderTest, SubLayoutsAndCallbackControls) {
    struct Factory : IDialogBuilderCallback {
        int calls = 0;
        CControlUI* CreateControl(const wchar_t* name) override {
            ++calls;
            return std::wstring(name) == L"MyBox" ? new CContainerUI : nullptr;
        }
    } factory;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.CreateFromText(
        R"(<HorizontalLayout><MyBox name="box" width="12"><Label name="inner"/></MyBox><Other/></HorizontalLayout>)",
        &factory));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(factory.calls, 2);
    CControlUI* box = root->FindControl(L"box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetFixedWidth(), 12);
    EXPECT_NE(root->FindControl(L"inner"), nullptr);

    // Without a manager a Window element only yields its control; with a
    // parent the root is added to it.
    CContainerUI parent;
    CControlUI* child = builder.CreateFromText(
        R"(<Window size="5,5"><Label name="only"/></Window>)", nullptr, nullptr, &parent);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(parent.GetCount(), 1);
    EXPECT_EQ(parent.GetItemAt(0), child);
    parent.RemoveAll();
    EXPECT_EQ(parent.GetCount(), 0);
    EXPECT_EQ(parent.Add(nullptr), false);
    EXPECT_EQ(builder.CreateFromText("<Window/>"), nullptr);
}

TEST(ToolkitRenderTest, PicturesKeepTheirAlphaOverTheBackground) {
    // The skin's own badge: its transparent corner leaves the background
    // untouched while its disc is painted.
    const std::wstring ok = CPaintManagerUI::GetInstancePath() + L"skin_tavolex_en\\ok.png";
    std::unique_ptr<Gdiplus::Bitmap> picture = LoadPicture(ok);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(LoadPicture(CPaintManagerUI::GetInstancePath() + L"skin_tavolex_en\\missing.png"),
              nullptr);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 64, 64};
    FillBox(dc, all, 0xFF0000FFu, 0); // opaque blue
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
    DrawPicture(dc, all, picture.get());
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 255)); // transparent corner
    const COLORREF centre = GetPixel(dc, 10, 32);  // green disc, left of the tick
    EXPECT_GT(GetGValue(centre), 120);
    EXPECT_LT(GetBValue(centre), 140);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

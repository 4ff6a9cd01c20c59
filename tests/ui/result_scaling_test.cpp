// The result windows at 150 %: the layout, fonts and the check window's
// growth scale once, and on a screen too short for the window the results
// scroll while the installer's question stays in view.
#include "tests/toolkit/gui_helpers.h"
#include "tests/ui/result_window_helpers.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kOneAndAHalf = 144;

RECT WorkArea(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

SIZE ClientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

// What Windows sends when the window lands on a monitor at `dpi`: the
// window's size at that scale as the suggestion.
void MoveToDpi(CCheckResultWnd& w, int dpi) {
    RECT r;
    GetWindowRect(w, &r);
    const int width = MulDiv(r.right - r.left, dpi, 96);
    const int height = MulDiv(r.bottom - r.top, dpi, 96);
    RECT suggested = {r.left, r.top, r.left + width, r.top + height};
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    w.GetPaintManager().UpdateLayout();
}

SIZE ControlSize(CCheckResultWnd& w, const wchar_t* name) {
    const RECT& r = w.GetPaintManager().FindControl(name)->GetPos();
    return SIZE{r.right - r.left, r.bottom - r.top};
}

} // namespace

TEST(ResultScalingTest, CheckWindowScalesOnceAndGrowsByTheScaledRows) {
    auto w = OpenCheck(1);
    ASSERT_NE(w, nullptr);
    w->GetPaintManager().UpdateLayout();
    const SIZE link96 = ControlSize(*w, L"configrec");
    ASSERT_GT(link96.cx, 0);
    MoveToDpi(*w, kOneAndAHalf);
    const SIZE client = ClientSize(*w);
    EXPECT_EQ(client.cx, 1080); // 720 x 1.5
    EXPECT_EQ(client.cy, 1014); // 676 x 1.5
    CPaintManagerUI& pm = w->GetPaintManager();
    EXPECT_EQ(pm.FindControl(L"ui_check_result")->GetPos().bottom, (56 + 610) * 3 / 2);
    EXPECT_EQ(ControlSize(*w, L"configrec").cx, link96.cx * 3 / 2);
    EXPECT_EQ(ControlSize(*w, L"configrec").cy, link96.cy * 3 / 2);
    // The 12 px font of the column titles and notes is made at 18 px.
    LOGFONTW font = {};
    GetObjectW(pm.GetFont(1), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -18);

    // A second adapter: 140 authored pixels more, 210 at this scale, as far
    // as the work area allows; the results area gets 750 authored pixels.
    const RECT work = WorkArea(*w);
    PresentReport(*w, TwoAdapterReport(), true);
    pm.UpdateLayout();
    EXPECT_EQ(ClientSize(*w).cy, std::min<LONG>(1014 + 210, work.bottom - work.top));
    EXPECT_EQ(pm.FindControl(L"ui_check_result")->GetFixedHeight(), 750);
    RECT frame;
    GetWindowRect(*w, &frame);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.bottom, work.bottom);
}

TEST(ResultScalingTest, OnAShortScreenTheResultsScrollAndTheQuestionStays) {
    auto w = OpenSetup(1, 3);
    ASSERT_NE(w, nullptr);
    PresentReport(*w, TwoAdapterReport(), true);
    // At 150 % the 913 px window wants 1370: more than this screen has.
    MoveToDpi(*w, kOneAndAHalf);
    const RECT work = WorkArea(*w);
    ASSERT_LT(work.bottom - work.top, 1370) << "the test screen is taller than assumed";
    const SIZE client = ClientSize(*w);
    EXPECT_EQ(client.cy, work.bottom - work.top);
    CPaintManagerUI& pm = w->GetPaintManager();
    for (const wchar_t* name : {L"btn_setup_exit", L"btn_setup_continue"}) {
        CControlUI* button = pm.FindControl(name);
        const RECT r = button->GetPos();
        const RECT seen = button->GetVisibleRect();
        EXPECT_TRUE(EqualRect(&r, &seen)) << name;
        EXPECT_LE(r.bottom, client.cy) << name;
        EXPECT_GT(r.top, 0) << name;
    }
    // The last rows start out of view; End brings the links in.
    auto* area = dynamic_cast<CContainerUI*>(pm.FindControl(L"ui_check_result"));
    ASSERT_NE(area, nullptr);
    EXPECT_GT(area->GetScrollRange(), 0);
    RECT website = pm.FindControl(L"website")->GetVisibleRect();
    EXPECT_TRUE(IsRectEmpty(&website));
    SendMessageW(*w, WM_KEYDOWN, VK_END, 0);
    pm.UpdateLayout();
    const RECT all = pm.FindControl(L"website")->GetPos();
    website = pm.FindControl(L"website")->GetVisibleRect();
    EXPECT_TRUE(EqualRect(&all, &website));
    const RECT steam = pm.FindControl(L"steamtext")->GetVisibleRect();
    EXPECT_FALSE(IsRectEmpty(&steam));

    // And the question's buttons still answer.
    POINT centre;
    ASSERT_TRUE(ControlCentre(pm, L"btn_setup_exit", centre));
    ModalWatchdog watchdog(*w);
    PostClick(*w, centre);
    EXPECT_EQ(w->ShowModal(), 1u);
    EXPECT_EQ(w->GetExitCode(), 5);
}

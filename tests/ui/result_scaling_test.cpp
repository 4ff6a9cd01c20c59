// The check window at 150 %: its layout, fonts and its growth for a second
// adapter scale once. (Real scales and small screens: the end-to-end
// display_scale and small_screen tests.)
#include "tests/toolkit/gui_helpers.h"
#include "tests/ui/result_window_helpers.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kOneAndAHalf = 144;

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
    const RECT work = WorkAreaOf(*w);
    PresentReport(*w, TwoAdapterReport(), true);
    pm.UpdateLayout();
    EXPECT_EQ(ClientSize(*w).cy, std::min<LONG>(1014 + 210, work.bottom - work.top));
    EXPECT_EQ(pm.FindControl(L"ui_check_result")->GetFixedHeight(), 750);
    RECT frame;
    GetWindowRect(*w, &frame);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.bottom, work.bottom);
}

// The portable arithmetic behind scaling, shrinking scroll areas, scroll
// bars and the names groups read out as.
#include "toolkit/accessible_names.h"
#include "toolkit/dpi_scale.h"
#include "toolkit/layout_math.h"

#include <gtest/gtest.h>

TEST(DpiScaleTest, ScalesOnceAndRoundsHalfAwayFromZero) {
    EXPECT_EQ(ScaleForDpi(913, 96), 913);
    EXPECT_EQ(ScaleForDpi(913, 144), 1370); // 1369.5
    EXPECT_EQ(ScaleForDpi(913, 192), 1826);
    EXPECT_EQ(ScaleForDpi(1, 144), 2); // a 1 px border stays visible
    EXPECT_EQ(ScaleForDpi(-1, 144), -2);
    EXPECT_EQ(ScaleForDpi(12, 120), 15);
    EXPECT_EQ(ScaleForDpi(0, 192), 0);
    EXPECT_EQ(ScaleForDpi(720, 0), 720); // no DPI known: as authored
}

TEST(LayoutBoxTest, StretchItemsShareTheRoomLeft) {
    // 100 px, gap 4: fixed 20 (+2 padding each side), two stretch items share
    // 100 - 24 - 8 = 68, the first taking the odd pixel if any.
    const auto spans = LayoutBox(10, 100, 4, {{-1, 0, 0}, {20, 2, 2}, {-1, 0, 0}});
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].start, 10);
    EXPECT_EQ(spans[0].length, 34);
    EXPECT_EQ(spans[1].start, 10 + 34 + 4 + 2);
    EXPECT_EQ(spans[1].length, 20);
    EXPECT_EQ(spans[2].start, spans[1].start + 20 + 2 + 4);
    EXPECT_EQ(spans[2].length, 34);
    EXPECT_EQ(spans[2].start + spans[2].length, 110);

    const auto odd = LayoutBox(0, 11, 0, {{-1, 0, 0}, {-1, 0, 0}});
    EXPECT_EQ(odd[0].length, 6);
    EXPECT_EQ(odd[1].length, 5);
}

TEST(LayoutBoxTest, OverflowsInsteadOfShrinkingFixedItems) {
    const auto spans = LayoutBox(0, 50, 0, {{40, 0, 0}, {-1, 0, 0}, {40, 0, 0}});
    EXPECT_EQ(spans[0].length, 40);
    EXPECT_EQ(spans[1].length, 0); // stretch never goes negative
    EXPECT_EQ(spans[2].start, 40);
    EXPECT_EQ(spans[2].length, 40);
    EXPECT_TRUE(LayoutBox(0, 10, 3, {}).empty());
}

TEST(LayoutBoxTest, ShrinkableItemsGiveUpRoomFirst) {
    // Header 56, scroll area 750, bar 106 in a 600 px window: only the
    // scroll area gets smaller.
    const auto spans = LayoutBox(0, 600, 0, {{56, 0, 0}, {750, 0, 0, true}, {106, 0, 0}});
    EXPECT_EQ(spans[1].start, 56);
    EXPECT_EQ(spans[1].length, 600 - 56 - 106);
    EXPECT_EQ(spans[2].start, 600 - 106);
    EXPECT_EQ(spans[2].length, 106);

    // Room enough: a shrinkable item keeps its size and stretch items share.
    const auto roomy = LayoutBox(0, 1000, 0, {{750, 0, 0, true}, {-1, 0, 0}});
    EXPECT_EQ(roomy[0].length, 750);
    EXPECT_EQ(roomy[1].length, 250);

    // Not even the fixed items fit: the shrinkable one goes to zero and the
    // rest overflows as before.
    const auto tiny = LayoutBox(0, 100, 10, {{80, 0, 0}, {50, 0, 0, true}, {40, 0, 0}});
    EXPECT_EQ(tiny[1].length, 0);
    EXPECT_EQ(tiny[2].start, 100);
}

TEST(ScrollMathTest, PositionsStayInRangeAndRevealMovesLeast) {
    EXPECT_EQ(MaxScroll(500, 800), 0);
    EXPECT_EQ(MaxScroll(800, 500), 300);
    EXPECT_EQ(ClampScroll(-5, 800, 500), 0);
    EXPECT_EQ(ClampScroll(999, 800, 500), 300);
    EXPECT_EQ(ClampScroll(50, 400, 500), 0); // everything fits

    // Viewport 200 at position 100 shows [100, 300).
    EXPECT_EQ(ScrollToReveal(100, 200, 150, 40, 1000), 100);  // already visible
    EXPECT_EQ(ScrollToReveal(100, 200, 280, 40, 1000), 120);  // bottom edge
    EXPECT_EQ(ScrollToReveal(100, 200, 20, 40, 1000), 20);    // above
    EXPECT_EQ(ScrollToReveal(100, 200, 500, 300, 1000), 500); // taller: its top
    EXPECT_EQ(ScrollToReveal(0, 200, 950, 50, 1000), 800);    // never past the end
}

TEST(ScrollMathTest, ThumbFollowsThePositionAndDragMapsBack) {
    EXPECT_EQ(ScrollThumb(400, 400, 400, 0, 20).length, 0); // nothing to scroll
    // Half the content visible: half the track.
    ThumbSpan top = ScrollThumb(400, 1000, 500, 0, 20);
    EXPECT_EQ(top.start, 0);
    EXPECT_EQ(top.length, 200);
    ThumbSpan end = ScrollThumb(400, 1000, 500, 500, 20);
    EXPECT_EQ(end.start + end.length, 400);
    // A long content keeps a grabbable thumb.
    EXPECT_EQ(ScrollThumb(400, 100000, 500, 0, 20).length, 20);
    // A track shorter than the minimum gets a thumb as long as the track.
    EXPECT_EQ(ScrollThumb(10, 1000, 500, 0, 20).length, 10);

    // Dragging the thumb over its whole room scrolls over the whole range.
    EXPECT_EQ(ScrollForThumbDrag(0, 200, 400, 1000, 500, 20), 500);
    EXPECT_EQ(ScrollForThumbDrag(250, 0, 400, 1000, 500, 20), 250);
    EXPECT_EQ(ScrollForThumbDrag(250, 100, 400, 1000, 500, 20), 500);
    EXPECT_EQ(ScrollForThumbDrag(250, -1000, 400, 1000, 500, 20), 0);
    EXPECT_EQ(ScrollForThumbDrag(0, 50, 400, 300, 500, 20), 0);
}

TEST(AccessibleNamesTest, GroupsReadTheirPartsOnceWithTheirCaption) {
    EXPECT_EQ(ComposeGroupName(L"VR games", {L"Supported", L"Supported"}), L"VR games: Supported");
    EXPECT_EQ(ComposeGroupName(L"", {L"CPU: Intel(R) Core(TM) i7-8700K", L"VR games: Supported",
                                     L"VR video: Not supported"}),
              L"CPU: Intel(R) Core(TM) i7-8700K, VR games: Supported, VR video: Not supported");
    // Only a repeat of the part just before is dropped; empty parts vanish.
    EXPECT_EQ(ComposeGroupName(L"", {L"A", L"", L"A", L"B", L"A"}), L"A, B, A");
    EXPECT_EQ(ComposeGroupName(L"Close", {}), L"Close");
    EXPECT_EQ(ComposeGroupName(L"", {}), L"");
}

// The arithmetic of layout, kept apart from windows so that it is tested
// natively: boxes that place their children one after another, and vertical
// scroll areas, whose content taller than the viewport moves up by a scroll
// position while a thumb on a track shows which part is in view. All lengths
// in pixels; scroll positions are offsets into the content.
#pragma once

#include <vector>

// The largest useful scroll position (0 when everything fits).
int MaxScroll(int content, int viewport);
// `pos` held inside [0, MaxScroll].
int ClampScroll(int pos, int content, int viewport);
// The position that brings [itemTop, itemTop + itemLength) into view while
// moving as little as possible; an item taller than the viewport shows its
// top.
int ScrollToReveal(int pos, int viewport, int itemTop, int itemLength, int content);

struct ThumbSpan {
    int start = 0; // from the top of the track
    int length = 0;
};

// The thumb for a track: as long as the visible share of the content, never
// shorter than `minThumb` (nor longer than the track), placed so that it
// reaches the track's end at the last position. A zero-length thumb means
// nothing to scroll.
ThumbSpan ScrollThumb(int track, int content, int viewport, int pos, int minThumb);
// The scroll position after the thumb was dragged `delta` pixels along the
// track from where it was at position `startPos`; no movement, no change.
int ScrollForThumbDrag(int startPos, int delta, int track, int content, int viewport, int minThumb);

// One child of a vertical or horizontal box, along the box's axis.
struct BoxItem {
    int size = -1; // fixed length, or -1 to share the room left over
    int padBefore = 0;
    int padAfter = 0;
    // A fixed item that gives up room when the items do not fit (a scroll
    // area, which then shows less of its content).
    bool shrink = false;
};

struct BoxSpan {
    int start = 0;
    int length = 0;
};

// Places items one after another along [start, start + length), separated by
// `gap`. Fixed items keep their size; stretch items share what is left equally
// (the first ones take the remainder pixels) and never go below zero. When
// the fixed items do not fit, shrinkable ones give up room first, in order,
// down to zero; whatever still does not fit overflows the end rather than
// squashing other items: a layout that is too small shows clipping.
std::vector<BoxSpan> LayoutBox(int start, int length, int gap, const std::vector<BoxItem>& items);

// The arithmetic of a vertical scroll area: content taller than its
// viewport moves up by a scroll position, and a thumb on a track shows
// which part is in view. All lengths in pixels; positions are offsets into
// the content.
#pragma once

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

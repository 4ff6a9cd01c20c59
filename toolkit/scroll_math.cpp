#include "toolkit/scroll_math.h"

#include <algorithm>

int MaxScroll(int content, int viewport) {
    return std::max(content - std::max(viewport, 0), 0);
}

int ClampScroll(int pos, int content, int viewport) {
    return std::clamp(pos, 0, MaxScroll(content, viewport));
}

int ScrollToReveal(int pos, int viewport, int itemTop, int itemLength, int content) {
    int target = pos;
    if (itemTop + itemLength > pos + viewport)
        target = itemTop + itemLength - viewport;
    // The top wins over the bottom for an item taller than the viewport.
    if (itemTop < target)
        target = itemTop;
    return ClampScroll(target, content, viewport);
}

ThumbSpan ScrollThumb(int track, int content, int viewport, int pos, int minThumb) {
    const int range = MaxScroll(content, viewport);
    if (range == 0 || track <= 0)
        return ThumbSpan{};
    const long long share = static_cast<long long>(track) * viewport / content;
    const int length = std::clamp(static_cast<int>(share), std::min(minThumb, track), track);
    const long long room = track - length;
    const int start = static_cast<int>(room * ClampScroll(pos, content, viewport) / range);
    return ThumbSpan{start, length};
}

int ScrollForThumbDrag(int startPos, int delta, int track, int content, int viewport,
                       int minThumb) {
    const int range = MaxScroll(content, viewport);
    const int room = track - ScrollThumb(track, content, viewport, 0, minThumb).length;
    if (range == 0 || room <= 0)
        return 0;
    const long long moved = static_cast<long long>(delta) * range;
    const long long step = moved >= 0 ? (moved + room / 2) / room : -((-moved + room / 2) / room);
    return ClampScroll(static_cast<int>(startPos + step), content, viewport);
}

#include "toolkit/layout_math.h"

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

std::vector<BoxSpan> LayoutBox(int start, int length, int gap, const std::vector<BoxItem>& items) {
    std::vector<BoxSpan> spans(items.size());
    if (items.empty())
        return spans;
    long long fixedTotal = static_cast<long long>(gap) * static_cast<long long>(items.size() - 1);
    int stretchCount = 0;
    for (const BoxItem& item : items) {
        fixedTotal += static_cast<long long>(item.padBefore) + item.padAfter;
        if (item.size < 0)
            ++stretchCount;
        else
            fixedTotal += item.size;
    }
    long long room = static_cast<long long>(length) - fixedTotal;
    std::vector<int> sizes;
    sizes.reserve(items.size());
    for (const BoxItem& item : items) {
        int size = item.size;
        if (room < 0 && item.shrink && size > 0) {
            const long long give = std::min<long long>(size, -room);
            size -= static_cast<int>(give);
            room += give;
        }
        sizes.push_back(size);
    }
    if (room < 0)
        room = 0;
    const int share = stretchCount > 0 ? static_cast<int>(room / stretchCount) : 0;
    int extra = stretchCount > 0 ? static_cast<int>(room % stretchCount) : 0;

    long long pos = start;
    for (size_t i = 0; i < items.size(); ++i) {
        const BoxItem& item = items[i];
        int size = sizes[i];
        if (size < 0) {
            size = share;
            if (extra > 0) {
                ++size;
                --extra;
            }
        }
        pos += item.padBefore;
        spans[i].start = static_cast<int>(pos);
        spans[i].length = size;
        pos += static_cast<long long>(size) + item.padAfter + gap;
    }
    return spans;
}

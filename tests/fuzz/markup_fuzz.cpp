// Fuzz target: the portable half of the layout reader. The bytes are parsed
// as a layout document, every attribute of the tree goes through each value
// parser, and a box is laid out from the numbers found. The raw bytes also go
// through the value parsers directly, since most mutations are not XML.
#include "toolkit/layout_math.h"
#include "toolkit/markup.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void ParseValue(const std::string& value, std::vector<BoxItem>& items) {
    ParseColor(value);
    ParseBool(value);
    if (const auto v = ParseInt(value)) {
        Check(*v >= -1000000 && *v <= 1000000);
        if (items.size() < 64)
            items.push_back(BoxItem{*v, 0, 0});
    }
    for (size_t count : {size_t{2}, size_t{4}}) {
        if (const auto v = ParseInts(value, count)) {
            Check(v->size() == count);
            for (int n : *v)
                Check(n >= -1000000 && n <= 1000000);
            if (count == 4 && items.size() < 64)
                items.push_back(BoxItem{(*v)[0], (*v)[1], (*v)[2]});
        }
    }
}

void Walk(const MarkupNode& node, int depth, std::vector<BoxItem>& items) {
    Check(depth <= kMaxMarkupDepth);
    Check(!node.name.empty());
    MarkupNameEquals(node.name, "Window");
    for (const auto& attribute : node.attributes) {
        Check(node.Attribute(attribute.first) != nullptr);
        ParseValue(attribute.second, items);
    }
    for (const MarkupNode& child : node.children)
        Walk(child, depth + 1, items);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<BoxItem> items;
    ParseValue(bytes, items);

    MarkupNode root;
    root.name = "stale";
    if (!ParseMarkup(bytes, root)) {
        Check(root.name.empty() && root.attributes.empty() && root.children.empty());
    } else {
        Walk(root, 0, items);
    }

    // Stretch items never get a negative length, and there is one span per item.
    const int gap = items.empty() ? 0 : items.front().padBefore;
    const std::vector<BoxSpan> spans = LayoutBox(size % 7 == 0 ? -1000000 : 0, 1000, gap, items);
    Check(spans.size() == items.size());
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].size < 0)
            Check(spans[i].length >= 0);
    return 0;
}

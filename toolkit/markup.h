// The portable half of the layout reader: an XML layout file becomes a tree of
// element names and attribute texts, and attribute texts become numbers and
// colours. The Windows half (dialog_builder.cpp) turns the tree into controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct MarkupNode {
    std::string name;                                            // element name as written
    std::vector<std::pair<std::string, std::string>> attributes; // UTF-8, in order
    std::vector<MarkupNode> children;

    // The value of an attribute (exact name), or nullptr.
    const std::string* Attribute(const std::string& key) const;
};

// Parses a layout document held in memory. Returns false, leaving root empty,
// when the bytes are not well-formed XML or hold no element at all.
bool ParseMarkup(const std::string& bytes, MarkupNode& root);

// Deeply nested documents would exhaust the stack of a recursive builder;
// layouts never come near this.
constexpr int kMaxMarkupDepth = 64;

// Compares names ignoring the case of the ASCII letters only.
bool MarkupNameEquals(const std::string& a, const char* b);

// "#AARRGGBB", "#RRGGBB" (opaque), with or without '#', or "0x" prefix.
std::optional<uint32_t> ParseColor(const std::string& text);
// "true"/"false" (ASCII case ignored), "1"/"0".
std::optional<bool> ParseBool(const std::string& text);
// One decimal integer; surrounding blanks allowed, nothing else.
std::optional<int> ParseInt(const std::string& text);
// Comma-separated integers, exactly `count` of them: "4,8,4,8".
std::optional<std::vector<int>> ParseInts(const std::string& text, size_t count);

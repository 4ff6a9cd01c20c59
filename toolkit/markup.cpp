#include "toolkit/markup.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool Convert(const pugi::xml_node& source, MarkupNode& target, int depth) {
    if (depth > kMaxMarkupDepth)
        return false;
    target.name = source.name();
    for (const pugi::xml_attribute& a : source.attributes())
        target.attributes.emplace_back(a.name(), a.value());
    for (const pugi::xml_node& child : source.children()) {
        if (child.type() != pugi::node_element)
            continue;
        target.children.emplace_back();
        if (!Convert(child, target.children.back(), depth + 1))
            return false;
    }
    return true;
}

} // namespace

const std::string* MarkupNode::Attribute(const std::string& key) const {
    for (const auto& a : attributes)
        if (a.first == key)
            return &a.second;
    return nullptr;
}

bool ParseMarkup(const std::string& bytes, MarkupNode& root) {
    root = MarkupNode();
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        return false;
    const pugi::xml_node element = document.document_element();
    if (!element)
        return false;
    MarkupNode converted;
    if (!Convert(element, converted, 0))
        return false;
    root = std::move(converted);
    return true;
}

bool MarkupNameEquals(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return i == a.size() && b[i] == '\0';
}

std::optional<uint32_t> ParseColor(const std::string& text) {
    std::string digits = Trim(text);
    if (!digits.empty() && digits[0] == '#')
        digits.erase(0, 1);
    else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits.erase(0, 2);
    if (digits.size() != 6 && digits.size() != 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        int nibble;
        if (c >= '0' && c <= '9')
            nibble = c - '0';
        else if (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f')
            nibble = LowerAscii(c) - 'a' + 10;
        else
            return std::nullopt;
        value = (value << 4) | static_cast<uint32_t>(nibble);
    }
    if (digits.size() == 6)
        value |= 0xFF000000u;
    return value;
}

std::optional<bool> ParseBool(const std::string& text) {
    const std::string t = Trim(text);
    if (t == "1" || MarkupNameEquals(t, "true"))
        return true;
    if (t == "0" || MarkupNameEquals(t, "false"))
        return false;
    return std::nullopt;
}

std::optional<int> ParseInt(const std::string& text) {
    const std::string t = Trim(text);
    if (t.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(t.c_str(), &end, 10);
    if (end == t.c_str() || *end != '\0' || errno == ERANGE || value > 1000000 || value < -1000000)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::vector<int>> ParseInts(const std::string& text, size_t count) {
    std::vector<int> values;
    size_t begin = 0;
    while (true) {
        const size_t comma = text.find(',', begin);
        const std::optional<int> v = ParseInt(
            text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin));
        if (!v)
            return std::nullopt;
        values.push_back(*v);
        if (comma == std::string::npos)
            break;
        begin = comma + 1;
    }
    if (values.size() != count)
        return std::nullopt;
    return values;
}

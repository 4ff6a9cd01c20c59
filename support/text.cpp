#include "support/text.h"

#include <climits>
#include <cstdint>
#include <cwctype>

namespace {

template <typename Char> bool IsSpace(Char c) {
    // The C locale's white space; strtol skips exactly these.
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <typename Char> int ReadLeadingIntImpl(const Char* p) {
    if (p == nullptr)
        return 0;
    while (IsSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    // Accumulate in 64 bits and stop growing once past the 32-bit range, so
    // that any number of digits is safe.
    int64_t value = 0;
    const int64_t limit = int64_t(INT_MAX) + 1;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= limit)
            value = value * 10 + (*p - '0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

std::wstring AsciiUpper(std::wstring text) {
    for (auto& c : text)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

std::string AsciiUpper(std::string text) {
    for (auto& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool AsciiEqualNoCase(const std::wstring& a, const std::wstring& b) {
    return AsciiUpper(a) == AsciiUpper(b);
}

int ReadLeadingInt(const wchar_t* text) {
    return ReadLeadingIntImpl(text);
}
int ReadLeadingInt(const char* text) {
    return ReadLeadingIntImpl(text);
}

std::string WideToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = static_cast<uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
                const uint32_t low = static_cast<uint32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            cp = 0xFFFD;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

void SplitString(const std::wstring& text, std::vector<std::wstring>& pieces,
                 const std::wstring& separator) {
    pieces.reserve(pieces.size() + 20);
    if (separator.empty()) {
        // An empty separator would match everywhere and never advance.
        if (!text.empty())
            pieces.push_back(text);
        return;
    }
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::wstring::npos;
         start = at + separator.size())
        pieces.push_back(text.substr(start, at - start));
    if (start < text.size())
        pieces.push_back(text.substr(start));
}

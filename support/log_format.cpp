#include "support/log_format.h"

namespace {

void AppendTwoDigits(std::wstring& out, int value) {
    // Tens then units, exactly as "%d%d" with value / 10 and value % 10.
    out += std::to_wstring(value / 10);
    out += std::to_wstring(value % 10);
}

} // namespace

std::wstring FormatLogStamp(const LogTime& time) {
    std::wstring stamp;
    AppendTwoDigits(stamp, time.month);
    stamp += L'/';
    AppendTwoDigits(stamp, time.day);
    stamp += L'/';
    AppendTwoDigits(stamp, time.year);
    stamp += L' ';
    AppendTwoDigits(stamp, time.hour);
    stamp += L':';
    AppendTwoDigits(stamp, time.minute);
    stamp += L':';
    AppendTwoDigits(stamp, time.second);
    stamp += L'\t';
    return stamp;
}

std::string LogBytes(const std::wstring& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned long c = static_cast<unsigned long>(text[i]) & 0xFFFFFFFFul;
        if (c <= 0xFF) {
            bytes.push_back(static_cast<char>(c));
            continue;
        }
        bytes.push_back('?');
        // A high surrogate followed by a low one is a single character.
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size()) {
            const unsigned long next = static_cast<unsigned long>(text[i + 1]) & 0xFFFFFFFFul;
            if (next >= 0xDC00 && next <= 0xDFFF)
                ++i;
        }
    }
    return bytes;
}

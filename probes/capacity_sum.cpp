#include "probes/capacity_sum.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Copies the run of digits at p into out; returns how many there were.
size_t TakeDigits(const wchar_t*& p, std::string& out) {
    size_t count = 0;
    for (; IsDigit(*p); ++p, ++count)
        out.push_back(static_cast<char>(*p));
    return count;
}

} // namespace

double ReadLeadingDouble(const wchar_t* text) {
    if (text == nullptr)
        return 0.0;
    const wchar_t* p = text;
    while (IsSpace(*p))
        ++p;
    // Only the plain decimal form is accepted; it is copied out as ASCII so
    // that strtod does the correctly rounded conversion. The copy always uses
    // '.', which is right in the classic locale the program runs in.
    std::string number;
    if (*p == L'+' || *p == L'-')
        number.push_back(static_cast<char>(*p++));
    size_t digits = TakeDigits(p, number);
    if (*p == L'.') {
        number.push_back('.');
        ++p;
        digits += TakeDigits(p, number);
    }
    if (digits == 0)
        return 0.0;
    if (*p == L'e' || *p == L'E') {
        const wchar_t* q = p + 1;
        std::string exponent = "e";
        if (*q == L'+' || *q == L'-')
            exponent.push_back(static_cast<char>(*q++));
        if (TakeDigits(q, exponent) > 0)
            number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

int64_t AddTruncated(int64_t total, double value) {
    if (std::isnan(value))
        return total;
    const double sum = static_cast<double>(total) + value;
    // 2^63 is exactly representable; anything at or above it does not fit.
    const double limit = 9223372036854775808.0;
    if (sum >= limit)
        return INT64_MAX;
    if (sum < -limit)
        return INT64_MIN;
    return static_cast<int64_t>(sum);
}

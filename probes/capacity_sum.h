// The memory total is the sum of WMI's Capacity texts. Capacity is an unsigned
// 64-bit value delivered as decimal text, so each value goes through a
// floating-point parse and the running total through double precision; sums
// stay exact up to 2^53 bytes.
#pragma once

#include <cstdint>

// Reads a number from the start of a text: leading white space, an optional
// sign, digits with an optional fraction and an optional exponent. Anything
// else (no digits, "inf", "nan", hexadecimal) gives 0.0; a null text gives 0.0.
double ReadLeadingDouble(const wchar_t* text);

// Adds a value to a running total in double precision and truncates back to
// 64 bits. A sum beyond the 64-bit range is clamped instead of converted,
// because that conversion is undefined; a value that is not a number adds
// nothing.
int64_t AddTruncated(int64_t total, double value);

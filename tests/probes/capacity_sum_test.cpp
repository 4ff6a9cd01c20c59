// The memory sum: WMI's Capacity texts through a floating-point parse.
#include "probes/capacity_sum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

TEST(ReadLeadingDouble, ReadsThePlainDecimalFormOnly) {
    EXPECT_EQ(25276178432.0, ReadLeadingDouble(L"25276178432"));
    EXPECT_EQ(8589934592.0, ReadLeadingDouble(L" \t8589934592 bytes"));
    EXPECT_EQ(-12.5, ReadLeadingDouble(L"-12.5"));
    EXPECT_EQ(0.5, ReadLeadingDouble(L"+.5"));
    EXPECT_EQ(3.0, ReadLeadingDouble(L"3."));
    EXPECT_EQ(4096.0, ReadLeadingDouble(L"4.096e3"));
    EXPECT_EQ(0.25, ReadLeadingDouble(L"25E-2x"));
    // An exponent marker without digits is not part of the number.
    EXPECT_EQ(7.0, ReadLeadingDouble(L"7e"));
    EXPECT_EQ(7.0, ReadLeadingDouble(L"7e+"));
    // No number at all.
    EXPECT_EQ(0.0, ReadLeadingDouble(L""));
    EXPECT_EQ(0.0, ReadLeadingDouble(L"."));
    EXPECT_EQ(0.0, ReadLeadingDouble(L"-"));
    EXPECT_EQ(0.0, ReadLeadingDouble(L"GB"));
    EXPECT_EQ(0.0, ReadLeadingDouble(nullptr));
    // Forms a C library would accept but WMI never sends: they must not turn
    // into infinities or NaN in the memory total.
    EXPECT_EQ(0.0, ReadLeadingDouble(L"inf"));
    EXPECT_EQ(0.0, ReadLeadingDouble(L"NaN"));
    EXPECT_EQ(0.0, ReadLeadingDouble(L"0x10"));
    // Full-width digits are not digits here.
    EXPECT_EQ(0.0, ReadLeadingDouble(L"\xFF11\xFF12"));
}

TEST(AddTruncated, SumsModulesExactlyAndClampsOutOfRange) {
    // Two 8 GiB modules; 4 GiB plus 512 MiB stays exact (the display truncates).
    int64_t total = AddTruncated(0, ReadLeadingDouble(L"8589934592"));
    total = AddTruncated(total, ReadLeadingDouble(L"8589934592"));
    EXPECT_EQ(int64_t(17179869184), total);
    EXPECT_EQ(int64_t(4831838208), AddTruncated(4294967296, 536870912.0));
    // Fractions are cut toward zero after each addition.
    EXPECT_EQ(int64_t(2), AddTruncated(1, 1.9));
    EXPECT_EQ(int64_t(-1), AddTruncated(0, -1.9));
    // The largest Capacity WMI can deliver and a huge exponent do not wrap.
    EXPECT_EQ(INT64_MAX, AddTruncated(0, ReadLeadingDouble(L"18446744073709551615")));
    EXPECT_EQ(INT64_MAX, AddTruncated(INT64_MAX, ReadLeadingDouble(L"1e999")));
    EXPECT_EQ(INT64_MIN, AddTruncated(0, ReadLeadingDouble(L"-1e30")));
    EXPECT_EQ(int64_t(5), AddTruncated(5, std::numeric_limits<double>::quiet_NaN()));
}

#include "support/log_format.h"

#include <gtest/gtest.h>

TEST(LogStamp, TwoDigitFieldsAndFullYear) {
    EXPECT_EQ(L"12/31/2025 23:59:59\t", FormatLogStamp({2025, 12, 31, 23, 59, 59}));
    EXPECT_EQ(L"01/02/2026 00:00:07\t", FormatLogStamp({2026, 1, 2, 0, 0, 7}));
    EXPECT_EQ(L"03/07/2024 09:05:03\t", FormatLogStamp({2024, 3, 7, 9, 5, 3}));
    // The year is printed as year / 10 then year % 10: every digit survives.
    EXPECT_EQ(L"10/10/1999 10:10:10\t", FormatLogStamp({1999, 10, 10, 10, 10, 10}));
    EXPECT_EQ(L"06/15/30000 12:00:00\t", FormatLogStamp({30000, 6, 15, 12, 0, 0}));
}

TEST(LogBytes, LatinOneKeepsItsByteAndEverythingAboveIsOneQuestionMark) {
    EXPECT_EQ("plain 100% text", LogBytes(L"plain 100% text"));
    EXPECT_EQ(std::string("caf\xE9 \xFF\x01", 7), LogBytes(L"caf\u00E9 \u00FF\u0001"));
    EXPECT_EQ("C:\\Users\\??\\Temp", LogBytes(L"C:\\Users\\\u5F20\u4E09\\Temp"));
    EXPECT_EQ("end", LogBytes(L"end"));
    // A zero inside the text does not end the line.
    EXPECT_EQ(std::string("a\0b", 3), LogBytes(std::wstring(L"a\0b", 3)));
}

TEST(LogBytes, SurrogatesCountAsCharacters) {
    // U+1F600 as a UTF-16 pair is one character; a lone half is one too.
    std::wstring pair;
    pair.push_back(static_cast<wchar_t>(0xD83D));
    pair.push_back(static_cast<wchar_t>(0xDE00));
    EXPECT_EQ("[?]", LogBytes(L"[" + pair + L"]"));
    std::wstring lone;
    lone.push_back(static_cast<wchar_t>(0xD83D));
    EXPECT_EQ("?x", LogBytes(lone + L"x"));
    std::wstring lowFirst;
    lowFirst.push_back(static_cast<wchar_t>(0xDE00));
    lowFirst.push_back(static_cast<wchar_t>(0xD83D));
    EXPECT_EQ("??", LogBytes(lowFirst));
}

#include "support/text.h"

#include <gtest/gtest.h>

#include <climits>

TEST(AsciiUpper, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(L"INTEL(R) CORE(TM) I7-8700", AsciiUpper(std::wstring(L"Intel(R) Core(TM) i7-8700")));
    // e-acute, dotless i and full-width a stay as they are.
    EXPECT_EQ(L"\x00E9\x0131\xFF41Z", AsciiUpper(std::wstring(L"\x00E9\x0131\xFF41z")));
    EXPECT_EQ("ABC-1", AsciiUpper(std::string("abC-1")));
    EXPECT_TRUE(AsciiEqualNoCase(L"Jp", L"jP"));
    EXPECT_FALSE(AsciiEqualNoCase(L"jp", L"j"));
}

TEST(ReadLeadingInt, ReadsLikeStrtolAndClamps) {
    EXPECT_EQ(42, ReadLeadingInt(L"  42abc"));
    EXPECT_EQ(-7, ReadLeadingInt(L"-7"));
    EXPECT_EQ(3, ReadLeadingInt(L"+3"));
    EXPECT_EQ(0, ReadLeadingInt(L"abc"));
    EXPECT_EQ(0, ReadLeadingInt(L"- 5"));
    EXPECT_EQ(0, ReadLeadingInt(static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(INT_MAX, ReadLeadingInt(L"2147483647"));
    EXPECT_EQ(INT_MAX, ReadLeadingInt(L"2147483648"));
    EXPECT_EQ(INT_MIN, ReadLeadingInt(L"-2147483648"));
    EXPECT_EQ(INT_MIN, ReadLeadingInt("-99999999999999999999999"));
    EXPECT_EQ(INT_MAX, ReadLeadingInt("99999999999"));
}

TEST(TextConversion, Utf8ToWideDecodesAndReplacesBadBytes) {
    EXPECT_EQ(L"NVIDIA", Utf8ToWide("NVIDIA"));
    EXPECT_EQ(L"\x82F1\x7279\x5C14", Utf8ToWide("\xE8\x8B\xB1\xE7\x89\xB9\xE5\xB0\x94"));
    EXPECT_EQ(std::wstring(), Utf8ToWide(""));
    EXPECT_EQ(std::wstring(), Utf8ToWide(nullptr));
    // A broken sequence becomes one replacement character, the rest survives.
    const std::wstring broken = Utf8ToWide("a\xE8\x8B"
                                           "b");
    ASSERT_EQ(3u, broken.size());
    EXPECT_EQ(L'a', broken[0]);
    EXPECT_EQ(wchar_t(0xFFFD), broken[1]);
    EXPECT_EQ(L'b', broken[2]);
}

TEST(TextConversion, WideToGbkEncodesCodePage936) {
    EXPECT_EQ("cn", WideToGbk(L"cn"));
    EXPECT_EQ("\xD6\xD0\xCE\xC4", WideToGbk(L"\x4E2D\x6587")); // "Chinese" in Chinese
    EXPECT_EQ("", WideToGbk(L""));
}

TEST(TextConversion, WideToUtf8RoundTripsThroughUtf8ToWide) {
    const std::wstring names[] = {L"", L"GeForce GTX 1060 ",
                                  L"\x82F1\x4F1F\x8FBE \x30B0\x30E9\x30D5", L"Caf\x00E9"};
    for (const auto& name : names)
        EXPECT_EQ(name, Utf8ToWide(WideToUtf8(name).c_str()));
    EXPECT_EQ("\xE4\xB8\xAD", WideToUtf8(L"\x4E2D"));
    // A lone surrogate cannot be encoded; it must not produce broken UTF-8.
    const std::wstring lone(1, static_cast<wchar_t>(0xD800));
    EXPECT_EQ("\xEF\xBF\xBD", WideToUtf8(lone));
}

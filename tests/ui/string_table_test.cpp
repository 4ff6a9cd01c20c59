#include "ui/string_table.h"

#include "support/language.h"
#include "ui/string_ids.h"

#include <gtest/gtest.h>

namespace {

// Restores the thread's UI language after a test that changes it.
struct LanguageGuard {
    LANGID saved = GetUiLanguage();
    ~LanguageGuard() { SetUiLanguage(saved); }
};

} // namespace

TEST(StringTableTest, EveryEntryInEveryLanguageByExplicitLookup) {
    // Spot checks with the exact characters: trailing blanks, full-width
    // colons and the brackets of entry 116.
    EXPECT_EQ(LoadStringForLanguage(106, 1033, 511), L"System: ");
    EXPECT_EQ(LoadStringForLanguage(106, 1041, 511), L"\u30B7\u30B9\u30C6\u30E0\uFF1A");
    EXPECT_EQ(LoadStringForLanguage(106, 2052, 511), L"\u64CD\u4F5C\u7CFB\u7EDF\uFF1A");
    EXPECT_EQ(LoadStringForLanguage(105, 1041, 511), L"CPU: ");
    EXPECT_EQ(LoadStringForLanguage(105, 2052, 511), L"CPU\uFF1A");
    EXPECT_EQ(LoadStringForLanguage(116, 1033, 511), L"(Needs Upgrade)");
    EXPECT_EQ(LoadStringForLanguage(116, 2052, 511), L"\uFF08\u7248\u672C\u8FC7\u4F4E\uFF09");
    EXPECT_EQ(LoadStringForLanguage(117, 1041, 511), L"\u30C6\u30B9\u30C8\u7D50\u679C");
    EXPECT_EQ(LoadStringForLanguage(119, 1033, 511),
              L"ORMEX Assistant(Compatibility checking tool)");
    EXPECT_EQ(LoadStringForLanguage(118, 2052, 511), L"SteamVR\uFF1A");
    // Ids 103 to 119 span two 16-string blocks (6 and 7); every one exists.
    for (UINT id = 103; id <= 119; ++id)
        for (LANGID lang : {LANGID(1033), LANGID(1041), LANGID(2052)})
            EXPECT_FALSE(LoadStringForLanguage(id, lang, 511).empty()) << id << " " << lang;
}

TEST(StringTableTest, ThreadLanguageDecidesAndMissingLanguagesFallBackToEnglish) {
    LanguageGuard guard;
    SetUiLanguage(LanguageForIndex(LANGUAGE_JAPANESE).id);
    EXPECT_EQ(LoadUiString(IDS_UNIT_BIT, 7), L"\u30D3\u30C3\u30C8");
    SetUiLanguage(LanguageForIndex(LANGUAGE_CHINESE).id);
    EXPECT_EQ(LoadUiString(IDS_UNIT_BIT, 7), L"\u4F4D");
    SetUiLanguage(LanguageForIndex(5).id); // any other index is English
    EXPECT_EQ(LoadUiString(IDS_UNIT_BIT, 7), L"Bit");
    SetUiLanguage(1036); // French: not in the table
    EXPECT_EQ(LoadUiString(IDS_RESULT_TITLE, 511), L"Testing Result");
    // Past the table's last string, and far from any block of it.
    constexpr UINT kAfterLastString = IDS_START_TITLE + 1;
    constexpr UINT kNoSuchBlock = 5000;
    EXPECT_TRUE(LoadUiString(kAfterLastString, 511).empty());
    EXPECT_TRUE(LoadUiString(kNoSuchBlock, 511).empty());
}

TEST(StringTableTest, EntriesAreCutToTheirBuffer) {
    EXPECT_EQ(LoadStringForLanguage(119, 1033, 5), L"ORMEX");
    EXPECT_EQ(LoadStringForLanguage(112, 1033, 0), L"");
}

#include "engine/requirements.h"

#include <gtest/gtest.h>

namespace {

size_t TotalEntries(const CCheckReport& r) {
    size_t total = 0;
    for (const auto& key : kRequirementsKeys)
        total += (r.*key.list).size();
    return total;
}

} // namespace

TEST(Requirements, SeventeenKeysInOrderUpperCased) {
    std::string json = "{\"body\":{";
    for (size_t i = 0; i < 17; ++i) {
        if (i > 0)
            json += ",";
        json += std::string("\"") + kRequirementsKeys[i].key + "\":[\"entry " + std::to_string(i) +
                "\",\"x\"]";
    }
    json += "}}";
    CCheckReport r;
    ASSERT_EQ(RequirementsStatus::Loaded, AppendRequirements(json, r));
    for (size_t i = 0; i < 17; ++i) {
        const NameList& list = r.*kRequirementsKeys[i].list;
        ASSERT_EQ(2u, list.size()) << kRequirementsKeys[i].key;
        EXPECT_EQ(L"ENTRY " + std::to_wstring(i), list[0]);
        EXPECT_EQ(L"X", list[1]);
    }
    // The table names the report's lists in their declared order.
    EXPECT_STREQ("CPU_Game", kRequirementsKeys[0].key);
    EXPECT_EQ(&CCheckReport::CPU_Game, kRequirementsKeys[0].list);
    EXPECT_EQ(&CCheckReport::OS, kRequirementsKeys[8].list);
    EXPECT_EQ(&CCheckReport::GPU_Game_Laptop, kRequirementsKeys[9].list);
    EXPECT_EQ(&CCheckReport::GPU_Video_BlackList_Exception, kRequirementsKeys[16].list);
}

TEST(Requirements, RootNullAndMissingBodyLoadNothingSilently) {
    CCheckReport r;
    EXPECT_EQ(RequirementsStatus::Loaded, AppendRequirements("null", r));
    EXPECT_EQ(RequirementsStatus::Loaded, AppendRequirements("{}", r));
    EXPECT_EQ(RequirementsStatus::Loaded, AppendRequirements("{\"body\":null}", r));
    EXPECT_EQ(RequirementsStatus::Loaded, AppendRequirements("{\"Body\":{\"OS\":[\"A\"]}}", r));
    EXPECT_EQ(0u, TotalEntries(r));
}

TEST(Requirements, RootThatIsNotAnObjectIsAnError) {
    CCheckReport r;
    EXPECT_EQ(RequirementsStatus::NotAnObject, AppendRequirements("[{\"body\":{}}]", r));
    EXPECT_EQ(RequirementsStatus::NotAnObject, AppendRequirements("\"text\"", r));
    EXPECT_EQ(RequirementsStatus::NotAnObject, AppendRequirements("42", r));
    EXPECT_EQ(RequirementsStatus::NotAnObject, AppendRequirements("true", r));
    EXPECT_EQ(0u, TotalEntries(r));
}

TEST(Requirements, TextThatIsNotJsonFailsToParseAndAddsNothing) {
    CCheckReport r;
    EXPECT_EQ(RequirementsStatus::ParseFailed, AppendRequirements("", r));
    EXPECT_EQ(RequirementsStatus::ParseFailed, AppendRequirements("<html>502</html>", r));
    // Cut off half way: nothing of the good half is kept.
    EXPECT_EQ(RequirementsStatus::ParseFailed,
              AppendRequirements("{\"body\":{\"OS\":[\"WINDOWS 10\",", r));
    // Nesting deep enough to trip the reader's own limit is a parse failure.
    EXPECT_EQ(RequirementsStatus::ParseFailed, AppendRequirements(std::string(5000, '['), r));
    EXPECT_EQ(0u, TotalEntries(r));
    EXPECT_FALSE(ParsesAsJson("{"));
    EXPECT_TRUE(ParsesAsJson("[1]"));
    // The stricter test a download must pass before it is stored.
    EXPECT_TRUE(ParsesAsJsonObject("{\"body\":{}}"));
    EXPECT_FALSE(ParsesAsJsonObject("[1]"));
    EXPECT_FALSE(ParsesAsJsonObject("null"));
    EXPECT_FALSE(ParsesAsJsonObject("{\"body\":"));
}

TEST(Requirements, BodyOfTheWrongTypeIsRefused) {
    CCheckReport r;
    EXPECT_EQ(RequirementsStatus::Loaded, AppendRequirements("{\"body\":\"OS\"}", r));
    EXPECT_EQ(RequirementsStatus::Loaded, AppendRequirements("{\"body\":[[\"WINDOWS\"]]}", r));
    EXPECT_EQ(RequirementsStatus::Loaded, AppendRequirements("{\"body\":7}", r));
    EXPECT_EQ(0u, TotalEntries(r));
}

TEST(Requirements, KeysAndElementsOfTheWrongTypeAreSkipped) {
    CCheckReport r;
    const char* json = R"({"body":{
        "CPU_Game": "I7-",
        "CPU_Video": {"0": "I5-"},
        "GPU_NV_Game": 3,
        "GPU_NV_Video": null,
        "OS": ["WINDOWS 10", 11, null, true, ["WINDOWS 11"], {"a": "b"}, 1.5, "windows 11"],
        "GPU_AMD_Game": ["RX 580"]
    }})";
    ASSERT_EQ(RequirementsStatus::Loaded, AppendRequirements(json, r));
    EXPECT_TRUE(r.CPU_Game.empty());
    EXPECT_TRUE(r.CPU_Video.empty());
    EXPECT_TRUE(r.GPU_NV_Game.empty());
    EXPECT_TRUE(r.GPU_NV_Video.empty());
    EXPECT_EQ((NameList{L"WINDOWS 10", L"WINDOWS 11"}), r.OS);
    EXPECT_EQ(NameList{L"RX 580"}, r.GPU_AMD_Game);
}

TEST(Requirements, NonAsciiEntriesKeepTheirCase) {
    CCheckReport r;
    // "gtx", "Gtx": the same text once upper-cased; é and full-width ａ stay.
    const char* json = "{\"body\":{\"GPU_NV_Game\":[\"gtx\",\"Gtx\",\"caf\xC3\xA9\","
                       "\"\xEF\xBD\x81x\",\"\\u00e9\",\"a\\u0000b\",\"\xFF\"]}}";
    ASSERT_EQ(RequirementsStatus::Loaded, AppendRequirements(json, r));
    ASSERT_EQ(7u, r.GPU_NV_Game.size());
    EXPECT_EQ(L"GTX", r.GPU_NV_Game[0]);
    EXPECT_EQ(L"GTX", r.GPU_NV_Game[1]);
    EXPECT_EQ(L"CAF\u00E9", r.GPU_NV_Game[2]);
    EXPECT_EQ(L"\uFF41X", r.GPU_NV_Game[3]);
    EXPECT_EQ(L"\u00E9", r.GPU_NV_Game[4]);
    EXPECT_EQ(L"A", r.GPU_NV_Game[5]); // an entry ends at its first zero
    EXPECT_EQ(L"\uFFFD", r.GPU_NV_Game[6]);
}

TEST(Requirements, LoadingTwiceDoublesEveryList) {
    const std::string json = R"({"body":{"OS":["WINDOWS 10"],"CPU_Game":["I5-","I7-"]}})";
    CCheckReport r;
    ASSERT_EQ(RequirementsStatus::Loaded, AppendRequirements(json, r));
    ASSERT_EQ(RequirementsStatus::Loaded, AppendRequirements(json, r));
    EXPECT_EQ((NameList{L"WINDOWS 10", L"WINDOWS 10"}), r.OS);
    EXPECT_EQ((NameList{L"I5-", L"I7-", L"I5-", L"I7-"}), r.CPU_Game);
}

TEST(Requirements, CommentsAndOtherMembersAreIgnored) {
    const char* json = R"(// offline copy
    {"code": 0, "body": {"OS": ["WINDOWS 11"], "Extra": ["X"]}, "sign": "abc"})";
    CCheckReport r;
    ASSERT_EQ(RequirementsStatus::Loaded, AppendRequirements(json, r));
    EXPECT_EQ(NameList{L"WINDOWS 11"}, r.OS);
    EXPECT_EQ(1u, TotalEntries(r));
}

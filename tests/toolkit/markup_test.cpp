#include "toolkit/markup.h"

#include <gtest/gtest.h>

TEST(MarkupTest, ParsesElementsAttributesAndNesting) {
    MarkupNode root;
    ASSERT_TRUE(ParseMarkup(R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="640,480">
  <!-- comments and text are not elements -->
  <Font id="0" name="Segoe UI"/>
  <VerticalLayout name="root"><Label text="检测结果" /></VerticalLayout>
</Window>)",
                            root));
    EXPECT_EQ(root.name, "Window");
    ASSERT_NE(root.Attribute("size"), nullptr);
    EXPECT_EQ(*root.Attribute("size"), "640,480");
    EXPECT_EQ(root.Attribute("missing"), nullptr);
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[1].name, "VerticalLayout");
    ASSERT_EQ(root.children[1].children.size(), 1u);
    EXPECT_EQ(*root.children[1].children[0].Attribute("text"),
              "\xE6\xA3\x80\xE6\xB5\x8B\xE7\xBB\x93\xE6\x9E\x9C");
}

TEST(MarkupTest, AcceptsAByteOrderMark) {
    // Editors on Windows often save UTF-8 with a BOM.
    MarkupNode root;
    ASSERT_TRUE(ParseMarkup("\xEF\xBB\xBF<Label text=\"\xE5\x86\x85\"/>", root));
    EXPECT_EQ(root.name, "Label");
    EXPECT_EQ(*root.Attribute("text"), "\xE5\x86\x85");
}

TEST(MarkupTest, RejectsBrokenEmptyAndTooDeepDocuments) {
    MarkupNode root;
    root.name = "stale";
    EXPECT_FALSE(ParseMarkup("<Window><Label></Window>", root));
    EXPECT_TRUE(root.name.empty()); // a failed parse leaves nothing behind
    EXPECT_FALSE(ParseMarkup("", root));
    EXPECT_FALSE(ParseMarkup("just text", root));
    EXPECT_FALSE(ParseMarkup(std::string("\0\0\0", 3), root));

    std::string deep;
    for (int i = 0; i <= kMaxMarkupDepth + 1; ++i)
        deep += "<a>";
    for (int i = 0; i <= kMaxMarkupDepth + 1; ++i)
        deep += "</a>";
    EXPECT_FALSE(ParseMarkup(deep, root));
}

TEST(MarkupTest, NamesCompareIgnoringAsciiCaseOnly) {
    EXPECT_TRUE(MarkupNameEquals("checkresultui", "CheckResultUI"));
    EXPECT_TRUE(MarkupNameEquals("CHECKHEADERUI", "CheckHeaderUI"));
    EXPECT_FALSE(MarkupNameEquals("CheckResult", "CheckResultUI"));
    EXPECT_FALSE(MarkupNameEquals("CheckResultUIx", "CheckResultUI"));
    EXPECT_FALSE(MarkupNameEquals("", "Label"));
}

TEST(MarkupTest, ColoursAcceptArgbAndRgbForms) {
    EXPECT_EQ(ParseColor("#FFFF0000"), 0xFFFF0000u);
    EXPECT_EQ(ParseColor("FFFF0000"), 0xFFFF0000u);
    EXPECT_EQ(ParseColor("0x80ffffff"), 0x80FFFFFFu);
    EXPECT_EQ(ParseColor("#1a2b3c"), 0xFF1A2B3Cu); // RGB is opaque
    EXPECT_FALSE(ParseColor("#12345"));
    EXPECT_FALSE(ParseColor("#GG000000"));
    EXPECT_FALSE(ParseColor(""));
}

TEST(MarkupTest, NumbersAndBooleans) {
    EXPECT_EQ(ParseInt(" 42 "), 42);
    EXPECT_EQ(ParseInt("-3"), -3);
    EXPECT_FALSE(ParseInt("4x"));
    EXPECT_FALSE(ParseInt("99999999999999"));
    EXPECT_EQ(ParseInts("1, 2,3 ,4", 4), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(ParseInts("1,2,3", 4));
    EXPECT_FALSE(ParseInts("1,,3,4", 4));
    EXPECT_EQ(ParseBool("TRUE"), true);
    EXPECT_EQ(ParseBool("0"), false);
    EXPECT_FALSE(ParseBool("yes"));
}

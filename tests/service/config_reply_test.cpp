#include "service/config_reply.h"

#include <json/value.h>

#include <gtest/gtest.h>

#include <string>

namespace {

Json::Value Body(const Json::Value& url) {
    Json::Value body(Json::objectValue);
    body["url"] = url;
    return body;
}

TEST(GetUrlText, ByType) {
    std::string url;
    EXPECT_TRUE(GetUrlText(Body("http://h/doc.json"), url));
    EXPECT_EQ(url, "http://h/doc.json");
    EXPECT_TRUE(GetUrlText(Body(12), url));
    EXPECT_EQ(url, "12");
    EXPECT_TRUE(GetUrlText(Body(-7), url));
    EXPECT_EQ(url, "-7");
    EXPECT_TRUE(GetUrlText(Body(Json::UInt64(18446744073709551615ull)), url));
    EXPECT_EQ(url, "18446744073709551615");
    EXPECT_TRUE(GetUrlText(Body(1.5), url));
    EXPECT_EQ(url, "1.500000");
    // "%f" in 16 bytes: cut to 15 characters, never overrun.
    EXPECT_TRUE(GetUrlText(Body(1e20), url));
    EXPECT_EQ(url, "100000000000000");
}

TEST(GetUrlText, OtherTypesLeaveTheUrlAlone) {
    for (const Json::Value& value :
         {Json::Value(), Json::Value(true), Json::Value(Json::arrayValue),
          Json::Value(Json::objectValue)}) {
        std::string url = "unchanged";
        EXPECT_FALSE(GetUrlText(Body(value), url));
        EXPECT_EQ(url, "unchanged");
    }
    std::string url = "unchanged";
    EXPECT_FALSE(GetUrlText(Json::Value(Json::arrayValue), url));
    EXPECT_FALSE(GetUrlText(Json::Value("text"), url));
    EXPECT_FALSE(GetUrlText(Json::Value(Json::objectValue), url)); // no "url"
    EXPECT_FALSE(GetUrlText(Json::Value(), url));                  // null: no "url" either
    EXPECT_EQ(url, "unchanged");
}

TEST(GetUrlText, StringStopsAtAZeroCharacter) {
    std::string url;
    EXPECT_TRUE(GetUrlText(Body(Json::Value(std::string("http://h/a\0b", 12))), url));
    EXPECT_EQ(url, "http://h/a");
}

struct ReplyCase {
    const char* reply;
    ConfigReply expected;
    const char* url;
};

TEST(ConfigReplyClassification, EveryRowOfTheFailureTable) {
    const ReplyCase cases[] = {
        {"", ConfigReply::Unreadable, ""},
        {"<html>502 Bad Gateway</html>", ConfigReply::Unreadable, ""},
        {"[1,2]", ConfigReply::Unreadable, ""},
        {"\"text\"", ConfigReply::Unreadable, ""},
        {"42", ConfigReply::Unreadable, ""},
        {"true", ConfigReply::Unreadable, ""},
        {"null", ConfigReply::NoBody, ""},
        {"{}", ConfigReply::NoBody, ""},
        {"{\"body\":null}", ConfigReply::NoBody, ""},
        {"{\"body\":[\"url\"]}", ConfigReply::NoBody, ""},
        {"{\"body\":\"http://h/x\"}", ConfigReply::NoBody, ""},
        {"{\"body\":{}}", ConfigReply::Located, ""},
        {"{\"body\":{\"url\":null}}", ConfigReply::Located, ""},
        {"{\"body\":{\"url\":12}}", ConfigReply::Located, "12"},
        {"{\"code\":0,\"body\":{\"url\":\"http://h/c.json\",\"md5\":\"x\"}}", ConfigReply::Located,
         "http://h/c.json"},
        {"// comment\n{\"body\":{\"url\":\"http://h/c.json\"}}", ConfigReply::Located,
         "http://h/c.json"},
    };
    for (const ReplyCase& c : cases) {
        std::string url;
        EXPECT_EQ(ReadConfigReply(c.reply, url), c.expected) << c.reply;
        EXPECT_EQ(url, c.url) << c.reply;
    }
}

// A hostile reply nested past the parser's depth limit makes jsoncpp throw;
// the download must end quietly rather than let that escape.
TEST(ConfigReplyClassification, TooDeepNestingIsAbortedNotThrown) {
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    std::string url;
    EXPECT_EQ(ReadConfigReply(deep, url), ConfigReply::Aborted);
    EXPECT_EQ(url, "");
}

} // namespace

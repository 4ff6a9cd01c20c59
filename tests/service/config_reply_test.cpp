#include "service/config_reply.h"

#include <json/value.h>

#include <gtest/gtest.h>

#include <string>

namespace {

HttpReply Reply(bool complete, unsigned long status, const std::string& body) {
    HttpReply reply;
    reply.opened = complete;
    reply.complete = complete;
    reply.status = status;
    reply.body = body;
    return reply;
}

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

TEST(DocumentUrl, OnlyWebAddressesAreFetched) {
    for (const char* url : {"http://config.tavolex.com/documents/c.json", "https://h/c.json",
                            "HTTP://H/C.JSON", "Https://h"})
        EXPECT_TRUE(IsDocumentUrl(url)) << url;
    for (const char* url :
         {"file:///C:/Windows/win.ini", "file://server/share/c.json", "ftp://h/c.json",
          "C:\\Windows\\win.ini", "\\\\server\\share", "12", "", "http:/h",
          "http:", " http://h/c.json", "httpx://h", "res://shell32.dll/1", "about:blank"})
        EXPECT_FALSE(IsDocumentUrl(url)) << url;
}

TEST(DocumentUses, OnlyAWholeJsonObjectWithStatus200IsStored) {
    const std::string good = "{\"body\":{\"OS\":[\"WINDOWS 10\"]}}\r\n";
    EXPECT_EQ(JudgeDocument(Reply(true, 200, good)), DocumentUse::Store);
    EXPECT_EQ(JudgeDocument(Reply(true, 200, "// kept comment\n{}")), DocumentUse::Store);

    // A reply that did not arrive whole is no reply: nothing to say about it.
    EXPECT_EQ(JudgeDocument(Reply(false, 200, good)), DocumentUse::Failed);
    EXPECT_EQ(JudgeDocument(Reply(false, 0, "")), DocumentUse::Failed);
    HttpReply huge = Reply(false, 200, "");
    huge.tooLarge = true;
    EXPECT_EQ(JudgeDocument(huge), DocumentUse::TooLarge);

    // Error pages, whatever they hold; a redirect that was not followed.
    for (unsigned long status : {404ul, 500ul, 302ul, 204ul, 0ul})
        EXPECT_EQ(JudgeDocument(Reply(true, status, good)), DocumentUse::BadStatus) << status;

    // Status 200 with a captive portal's page, a cut-off body, another root.
    for (const char* body :
         {"<html><body>Sign in to the hotel network</body></html>", "{\"body\":{\"OS\":[\"WIND", "",
          "null", "[{\"body\":{}}]", "\"text\"", "12", "true"})
        EXPECT_EQ(JudgeDocument(Reply(true, 200, body)), DocumentUse::BadJson) << body;
}

} // namespace

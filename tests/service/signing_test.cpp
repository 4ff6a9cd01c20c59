#include "service/md5.h"
#include "service/request_signing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>

namespace {

const std::string kBase = std::string(TVX_CONFIG_ENDPOINT) + "?language=en";

TEST(RequestSigning, EndpointsComeFromTheCompiledInHost) {
    EXPECT_EQ(std::string(TVX_TIMESTAMP_ENDPOINT),
              std::string("http://") + TVX_SERVICE_HOST + "/common/getTimestamp");
    EXPECT_EQ(std::string(TVX_CONFIG_ENDPOINT),
              std::string("http://") + TVX_SERVICE_HOST + "/vuzozid/wscheckerconfig");
}

TEST(RequestSigning, SignedUrlLayoutAndToken) {
    const std::string url = SignRequestUrl(kBase, 1700000000);
    const std::string text =
        std::string("qTmW8x$Lr2@Kp+Vbn4YcZsHje") + "1700000000" + TVX_CONFIG_ENDPOINT;
    EXPECT_EQ(AccessTokenText(1700000000), text);
    EXPECT_EQ(url, kBase + "&timestamp=1700000000&accesstoken=" +
                       CMD5Checksum::HexDigest(text.data(), text.size()));
}

// Computed independently (Python hashlib) for the default host.
TEST(RequestSigning, TokenForTheDefaultHost) {
    if (std::string(TVX_SERVICE_HOST) != "config.tavolex.com")
        GTEST_SKIP() << "built for another host";
    EXPECT_EQ(SignRequestUrl(kBase, 1700000000),
              "http://config.tavolex.com/vuzozid/wscheckerconfig?language=en"
              "&timestamp=1700000000&accesstoken=02bc8220b4fa7f13528f71ece6ef0640");
    EXPECT_EQ(SignRequestUrl("x", 2147483647), "x&timestamp=2147483647&accesstoken="
                                               "b4d688ad816f99d622b0a28c5c9bea46");
}

// The hashed URL is the constant endpoint, never the base given.
TEST(RequestSigning, HashIgnoresTheBaseUrl) {
    const std::string a = SignRequestUrl(kBase, 1234567890);
    const std::string b = SignRequestUrl("http://elsewhere/x?language=jp", 1234567890);
    EXPECT_EQ(a.substr(a.size() - 32), b.substr(b.size() - 32));
}

TEST(RequestSigning, NoUsableServerClockSignsWithTheLocalClock) {
    const std::regex layout("&timestamp=([0-9]+)&accesstoken=([0-9a-f]{32})$");
    for (int stamp : {0, -5, -2147483647 - 1}) {
        const long long before = static_cast<long long>(std::time(nullptr));
        const std::string url = SignRequestUrl(kBase, stamp);
        const long long after = static_cast<long long>(std::time(nullptr));
        std::smatch match;
        ASSERT_TRUE(std::regex_search(url, match, layout)) << url;
        const long long used = std::atoll(match[1].str().c_str());
        EXPECT_GE(used, before);
        EXPECT_LE(used, after);
        EXPECT_EQ(url, SignRequestUrlWithStamp(kBase, static_cast<uint64_t>(used)));
    }
}

TEST(RequestSigning, StampsBeyond32BitsPrintUnsigned) {
    EXPECT_EQ(AccessTokenText(4102444800ull).substr(25, 10), "4102444800");
}

TEST(ServerTimestamp, ParsesLikeStrtolWithClamping) {
    EXPECT_EQ(ParseServerTimestamp("1733735000\r\n"), 1733735000);
    EXPECT_EQ(ParseServerTimestamp("  \t1733735000 seconds"), 1733735000);
    EXPECT_EQ(ParseServerTimestamp("+42"), 42);
    EXPECT_EQ(ParseServerTimestamp("-5"), -5);
    EXPECT_EQ(ParseServerTimestamp("{\"timestamp\":1733735000}"), 0);
    EXPECT_EQ(ParseServerTimestamp(""), 0);
    EXPECT_EQ(ParseServerTimestamp("abc"), 0);
    EXPECT_EQ(ParseServerTimestamp("99999999999"), 2147483647);
    EXPECT_EQ(ParseServerTimestamp("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(ParseServerTimestamp("2147483648"), 2147483647);
}

} // namespace

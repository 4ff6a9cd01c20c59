// HttpGet and GetServerTimestamp against a loopback service reached through
// the WinINet proxy setting, with the product's compiled-in host.
#include "service/http.h"
#include "service/request_signing.h"
#include "tests/service/loopback_http.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHostUrl = std::string("http://") + TVX_SERVICE_HOST;

class HttpFetch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.listening()); }

    std::string Get(const std::string& path) {
        std::string body;
        HttpGet(kHostUrl + path, body);
        return body;
    }

    LoopbackHttp server;
    ProxyForTest proxy{server.port()};
};

TEST_F(HttpFetch, SendsTheAgentAndReturnsTheBody) {
    server.Route("/doc.json", {"200 OK", "{\"a\":1}\r\n{\"b\":2}\n"});
    EXPECT_EQ(Get("/doc.json?x=1"), "{\"a\":1}\r\n{\"b\":2}\n");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, "/doc.json");
    EXPECT_NE(requests[0].target.find("/doc.json?x=1"), std::string::npos);
    EXPECT_EQ(requests[0].userAgent, "Quenmar");
}

TEST_F(HttpFetch, LongBodyComesBackWholeHoweverTheReadsSplitIt) {
    std::string body;
    for (int i = 0; i < 2500; ++i)
        body.push_back(static_cast<char>('a' + i % 26));
    server.Route("/whole", {"200 OK", body});
    ScriptedReply trickle{"200 OK", body};
    trickle.pieceSize = 700;
    server.Route("/trickle", trickle);
    EXPECT_EQ(Get("/whole"), body);
    EXPECT_EQ(Get("/trickle"), body);
}

TEST_F(HttpFetch, ZeroByteDropsTheRestOfItsRead) {
    server.Route("/zero", {"200 OK", std::string("head\0tail", 9)});
    EXPECT_EQ(Get("/zero"), "head");
}

TEST_F(HttpFetch, ErrorPagesAreBodiesToo) {
    EXPECT_EQ(Get("/missing"), "<html><body><h1>404 Not Found</h1></body></html>");
    server.Route("/broken", {"500 Internal Server Error", "oops"});
    EXPECT_EQ(Get("/broken"), "oops");
}

TEST_F(HttpFetch, DroppedConnectionKeepsWhatArrived) {
    ScriptedReply drop{"200 OK", std::string(1500, 'x')};
    drop.dropMidBody = true;
    server.Route("/drop", drop);
    // 1,000 announced bytes never come; what did come is the body.
    EXPECT_EQ(Get("/drop"), std::string(1500, 'x'));
}

TEST(HttpFetchOffline, UnreachableLeavesTheBodyAsGiven) {
    ProxyForTest proxy(ClosedLoopbackPort());
    std::string body;
    HttpGet(kHostUrl + "/doc.json", body);
    EXPECT_EQ(body, "");
    body = "caller's";
    HttpGet(kHostUrl + "/doc.json", body);
    EXPECT_EQ(body, "caller's");
    HttpGet("", body);
    EXPECT_EQ(body, "caller's");
    EXPECT_EQ(GetServerTimestamp(), 0);
}

class ServerClock : public HttpFetch {
protected:
    int Clock(const std::string& reply) {
        server.Route("/common/getTimestamp", {"200 OK", reply});
        return GetServerTimestamp();
    }
};

TEST_F(ServerClock, ReadsTheLeadingNumber) {
    EXPECT_EQ(Clock("1733735000\r\n"), 1733735000);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/common/getTimestamp");
    EXPECT_EQ(requests[0].userAgent, "Quenmar");

    EXPECT_EQ(Clock("{\"timestamp\":1733735000}"), 0);
    EXPECT_EQ(Clock(""), 0);
    EXPECT_EQ(Clock("-5"), -5);
    EXPECT_EQ(Clock("99999999999"), 2147483647);
}

TEST_F(ServerClock, OnlyTheFirst127BytesCount) {
    // The digits after 127 blanks are never read.
    EXPECT_EQ(Clock(std::string(127, ' ') + "1733735000"), 0);
    EXPECT_EQ(Clock(std::string(126, ' ') + "17"), 1);
}

} // namespace

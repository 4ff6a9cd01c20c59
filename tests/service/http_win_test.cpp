// HttpGet and GetServerTimestamp against a loopback service reached through
// the WinINet proxy setting, with the product's compiled-in host.
#include "service/http.h"
#include "service/request_signing.h"
#include "tests/service/loopback_http.h"

#include <wininet.h>

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

// A cookie the user already had for the host, and one a reply sets on the
// way through a redirect, never go out: not on the redirected request, not on
// a later one.
TEST_F(HttpFetch, NoRequestCarriesACookie) {
    ASSERT_TRUE(InternetSetCookieA(kHostUrl.c_str(), "stored", "by-the-user"));
    ScriptedReply moved{"302 Found", ""};
    moved.extraHeaders = "Set-Cookie: session=1; Path=/\r\nLocation: " + kHostUrl + "/doc\r\n";
    server.Route("/moved", moved);
    server.Route("/doc", {"200 OK", "{}"});
    EXPECT_EQ(Get("/moved"), "{}");
    EXPECT_EQ(Get("/doc"), "{}");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].path, "/doc"); // the redirect was followed
    for (const RecordedRequest& request : requests)
        EXPECT_EQ(request.cookie, "") << request.path;
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

// Small limits, so that the bounds show in a second or two.
constexpr HttpLimits kQuick = {1000, 4096, false};
// What a deadline may overrun by on a busy machine: the thread is left
// behind at once, so only scheduling adds to it.
constexpr ULONGLONG kSlackMs = 1500;

class BoundedFetch : public HttpFetch {
protected:
    // Fetches with kQuick and returns how long it took.
    ULONGLONG Timed(const std::string& path, HttpReply& reply) {
        const ULONGLONG start = GetTickCount64();
        reply = ::HttpFetch(kHostUrl + path, kQuick);
        return GetTickCount64() - start;
    }
};

TEST_F(BoundedFetch, AServerThatTricklesIsLeftAtTheDeadline) {
    // 100 bytes at one every 30 ms: three seconds, each pause far shorter
    // than any receive timeout.
    ScriptedReply trickle{"200 OK", std::string(100, 'x')};
    trickle.pieceSize = 1;
    trickle.pieceDelayMs = 30;
    server.Route("/trickle", trickle);
    HttpReply reply;
    EXPECT_LT(Timed("/trickle", reply), kQuick.deadlineMs + kSlackMs);
    EXPECT_FALSE(reply.complete);
    EXPECT_EQ("", reply.body);
}

TEST_F(BoundedFetch, AServerThatDoesNotAnswerIsLeftAtTheDeadline) {
    ScriptedReply silent{"200 OK", "{}"};
    silent.headerDelayMs = 3000;
    server.Route("/silent", silent);
    HttpReply reply;
    EXPECT_LT(Timed("/silent", reply), kQuick.deadlineMs + kSlackMs);
    EXPECT_FALSE(reply.opened);
    EXPECT_FALSE(reply.complete);
}

TEST_F(BoundedFetch, ABodyOverItsCapIsAFailedDownload) {
    server.Route("/at-cap", {"200 OK", std::string(kQuick.maxBodyBytes, 'a')});
    server.Route("/over-cap", {"200 OK", std::string(kQuick.maxBodyBytes + 1, 'b')});
    HttpReply reply;
    Timed("/at-cap", reply);
    EXPECT_TRUE(reply.complete);
    EXPECT_EQ(kQuick.maxBodyBytes, reply.body.size());
    Timed("/over-cap", reply);
    EXPECT_TRUE(reply.opened);
    EXPECT_FALSE(reply.complete);
    EXPECT_EQ("", reply.body);
}

TEST_F(BoundedFetch, TheStatusComesWithTheBody) {
    server.Route("/gone", {"404 Not Found", "<html>gone</html>"});
    HttpReply reply;
    Timed("/gone", reply);
    EXPECT_TRUE(reply.complete);
    EXPECT_EQ(404ul, reply.status);
    EXPECT_EQ("<html>gone</html>", reply.body);
    Timed("/missing", reply);
    EXPECT_EQ(404ul, reply.status);
    server.Route("/ok", {"200 OK", "{}"});
    Timed("/ok", reply);
    EXPECT_EQ(200ul, reply.status);
}

// A reply the server allows to be cached for an hour is still fetched anew
// each time, and no copy of it is kept where a later run (or somebody with
// access to the cache) could replace the service's answer.
TEST_F(BoundedFetch, RepliesAreNeverTakenFromOrKeptInTheCache) {
    ScriptedReply cacheable{"200 OK", "{\"body\":{}}"};
    cacheable.extraHeaders =
        "Cache-Control: public, max-age=3600\r\nLast-Modified: Mon, 01 Jan 2024 00:00:00 GMT\r\n";
    server.Route("/cacheable.json", cacheable);
    const std::string url = kHostUrl + "/cacheable.json";
    DeleteUrlCacheEntryA(url.c_str()); // whatever an earlier run left
    HttpReply reply;
    for (int i = 0; i < 2; ++i) {
        reply = ::HttpFetch(url, kQuick);
        EXPECT_EQ("{\"body\":{}}", reply.body);
    }
    EXPECT_EQ(2u, server.Requests().size());
    DWORD size = 0;
    EXPECT_FALSE(GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
}

} // namespace

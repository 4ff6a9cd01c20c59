// CSystemChecker::DownloadConfig against the loopback service, through the
// proxy setting. Each download runs in a child run (see checker_child.h); the
// parent scripts the service and then reads what the child appended to the
// log and left in the configuration file.
#include "engine/system_checker.h"
#include "service/http.h"
#include "service/request_signing.h"
#include "tests/engine/checker_child.h"
#include "tests/service/loopback_http.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

const std::string kDocumentUrl =
    std::string("http://") + TVX_SERVICE_HOST + "/documents/checkerconfig.json";
const std::string kOld = "{\"body\":{\"OS\":[\"OLD\"]}}\r\n";

class ConfigDownload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.listening());
        configPath = dir.Write(L"checkerconfig.json", kOld);
        server.Route("/common/getTimestamp", {"200 OK", "1733735000\r\n"});
        server.Route("/vuzozid/wscheckerconfig",
                     {"200 OK", "{\"code\":0,\"body\":{\"url\":\"" + kDocumentUrl + "\"}}"});
        server.Route("/documents/checkerconfig.json", {"200 OK", "{\"body\":{}}\r\n"});
    }

    // One download in a child run; returns the log messages it added.
    std::vector<std::string> Download() {
        const ChildOutcome outcome = RunCheckerChild(configPath, L"download");
        EXPECT_EQ(outcome.exitCode, 0u);
        return outcome.messages;
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const RecordedRequest& request : server.Requests())
            paths.push_back(request.path);
        return paths;
    }

    TempDir dir;
    std::wstring configPath;
    LoopbackHttp server;
    ProxyForTest proxy{server.port()};
};

// Each child run opens the log, which first writes its run separator.
const std::vector<std::string> kNoLines = {"<separator>"};
const std::vector<std::string> kReadFailed = {"<separator>", "read config url failed(json). "};
const std::vector<std::string> kGetFailed = {"<separator>", "get config url failed(json). "};

TEST_F(ConfigDownload, StoresTheNamedDocumentByteForByte) {
    // Mixed line ends, non-ASCII UTF-8 and a trailing blank must all survive.
    const std::string document =
        "{\"body\":{\"OS\":[\"WINDOWS 10\"],\r\n\"CPU_Game\":[\"I7-\xE9\x85\xB7\"]}}\n\r\n ";
    server.Route("/documents/checkerconfig.json", {"200 OK", document});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadBytes(configPath), document);
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::wstring>{L"checkerconfig.json"});

    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].path, "/common/getTimestamp");
    EXPECT_EQ(requests[1].path, "/vuzozid/wscheckerconfig");
    EXPECT_EQ(requests[2].local, "/documents/checkerconfig.json");
    for (const RecordedRequest& request : requests) {
        EXPECT_EQ(request.method, "GET");
        EXPECT_EQ(request.userAgent, "Quenmar");
    }
    if (std::string(TVX_SERVICE_HOST) == "config.tavolex.com") {
        // Signed with the service's clock; the token was computed with
        // Python's hashlib from key, time stamp and endpoint URL.
        EXPECT_EQ(requests[1].local, "/vuzozid/wscheckerconfig?language=cn&timestamp=1733735000"
                                     "&accesstoken=688188f42e5417e8c10741700872b680");
    }
}

struct FailureRow {
    const char* name;
    ScriptedReply config;
    std::vector<std::string> lines;
    bool reachesDocument;
};

TEST_F(ConfigDownload, FailuresOfTheSignedRequestKeepTheOldFile) {
    ScriptedReply notFound{"404 Not Found", "<html><body>404 Not Found</body></html>"};
    const FailureRow rows[] = {
        {"empty reply", {"200 OK", ""}, kReadFailed, false},
        {"error page", {"502 Bad Gateway", "<html>Bad Gateway</html>"}, kReadFailed, false},
        {"404 page", notFound, kReadFailed, false},
        {"array root", {"200 OK", "[1,2]"}, kReadFailed, false},
        {"string root", {"200 OK", "\"" + kDocumentUrl + "\""}, kReadFailed, false},
        {"null root", {"200 OK", "null"}, kGetFailed, false},
        {"no body",
         {"200 OK", "{\"code\":403,\"message\":\"bad accesstoken\"}"},
         kGetFailed,
         false},
        {"body not an object",
         {"200 OK", "{\"body\":[\"" + kDocumentUrl + "\"]}"},
         kGetFailed,
         false},
        {"body without url", {"200 OK", "{\"body\":{\"version\":3}}"}, kNoLines, false},
        {"numeric url", {"200 OK", "{\"body\":{\"url\":12}}"}, kNoLines, false},
        {"boolean url", {"200 OK", "{\"body\":{\"url\":true}}"}, kNoLines, false},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        server.Route("/vuzozid/wscheckerconfig", row.config);
        const size_t before = server.Requests().size();
        EXPECT_EQ(Download(), row.lines);
        EXPECT_EQ(ReadBytes(configPath), kOld);
        // Nothing beyond the clock and the signed request was asked for.
        EXPECT_EQ(server.Requests().size() - before, 2u);
    }
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::wstring>{L"checkerconfig.json"});
}

// Only a whole reply with status 200 whose body is a JSON object replaces
// the stored file; anything else keeps the last good one and says why.
TEST_F(ConfigDownload, OnlyAGoodDocumentReplacesTheStoredOne) {
    const std::vector<std::string> badJson = {"<separator>", "keep old config. bad json"};
    const struct {
        const char* name;
        ScriptedReply reply;
        std::vector<std::string> lines;
    } kept[] = {
        {"404 page",
         {"404 Not Found", "<html>gone</html>"},
         {"<separator>", "keep old config. status=404"}},
        {"server error with JSON",
         {"500 Internal Server Error", "{\"body\":{}}"},
         {"<separator>", "keep old config. status=500"}},
        {"captive portal page",
         {"200 OK", "<html><body>Sign in to the hotel network</body></html>"},
         badJson},
        {"truncated JSON", {"200 OK", "{\"body\":{\"OS\":[\"WINDOWS 10\",\"WIN"}, badJson},
        {"empty body", {"200 OK", ""}, badJson},
        {"array root", {"200 OK", "[{\"body\":{}}]"}, badJson},
        {"plain text", {"200 OK", "not a configuration"}, badJson},
    };
    for (const auto& row : kept) {
        SCOPED_TRACE(row.name);
        server.Route("/documents/checkerconfig.json", row.reply);
        EXPECT_EQ(Download(), row.lines);
        EXPECT_EQ(ReadBytes(configPath), kOld);
        EXPECT_EQ(Paths().back(), "/documents/checkerconfig.json");
    }

    // A zero byte still ends its read; what is left is a whole object.
    server.Route("/documents/checkerconfig.json",
                 {"200 OK", std::string("{\"body\":{}}\0after", 17)});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadBytes(configPath), "{\"body\":{}}");
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::wstring>{L"checkerconfig.json"});
}

TEST_F(ConfigDownload, OnlyWebAddressesAreFetched) {
    // A document the service names on the disk, or anywhere but the web, is
    // never read: WinINet would read a local file for "file:".
    const std::wstring local = dir.Write(L"local.json", "{\"body\":{\"OS\":[\"LOCAL\"]}}");
    for (const std::string& url :
         {std::string("file:///") + std::string(local.begin(), local.end()),
          std::string("file://") + std::string(local.begin(), local.end()),
          std::string("ftp://") + TVX_SERVICE_HOST + "/c.json",
          std::string(local.begin(), local.end())}) {
        SCOPED_TRACE(url);
        std::string escaped;
        for (char c : url)
            escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        server.Route("/vuzozid/wscheckerconfig",
                     {"200 OK", "{\"code\":0,\"body\":{\"url\":\"" + escaped + "\"}}"});
        const size_t before = server.Requests().size();
        EXPECT_EQ(Download(), kNoLines);
        EXPECT_EQ(ReadBytes(configPath), kOld);
        EXPECT_EQ(server.Requests().size() - before, 2u) << "only the clock and the signed request";
    }
}

TEST_F(ConfigDownload, ADocumentOverItsCapIsNotStored) {
    // Exactly at the cap it is taken; one byte more and it is not, and the
    // last good file stays.
    const size_t cap = kDocumentLimits.maxBodyBytes;
    const std::string head = "{\"body\":{},\"pad\":\"";
    const std::string atCap = head + std::string(cap - head.size() - 2, 'x') + "\"}";
    ASSERT_EQ(cap, atCap.size());
    server.Route("/documents/checkerconfig.json", {"200 OK", atCap});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadBytes(configPath).size(), cap);

    dir.Write(L"checkerconfig.json", kOld);
    const std::string overCap = head + std::string(cap - head.size() - 1, 'x') + "\"}";
    server.Route("/documents/checkerconfig.json", {"200 OK", overCap});
    EXPECT_EQ(Download(), (std::vector<std::string>{"<separator>", "keep old config. too large"}));
    EXPECT_EQ(ReadBytes(configPath), kOld);
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::wstring>{L"checkerconfig.json"});
}

TEST_F(ConfigDownload, ASignedReplyOverItsCapReadsAsNone) {
    const std::string pad(kConfigReplyLimits.maxBodyBytes, ' ');
    server.Route("/vuzozid/wscheckerconfig",
                 {"200 OK", "{\"body\":{\"url\":\"" + kDocumentUrl + "\"}}" + pad});
    EXPECT_EQ(Download(), kReadFailed);
    EXPECT_EQ(ReadBytes(configPath), kOld);
    EXPECT_EQ(Paths().back(), "/vuzozid/wscheckerconfig");
}

// A hard link planted where the configuration belongs, to a file of the
// planter's choice. Every run leaves both names alone, elevated or not: the
// folder is shared by every user of the machine.
TEST_F(ConfigDownload, APlantedHardLinkIsLeftAloneByEveryRun) {
    const std::string victim = "somebody else's file\r\n";
    const std::wstring elsewhere = dir.Write(L"victim.txt", victim);
    DeleteFileW(configPath.c_str());
    ASSERT_TRUE(CreateHardLinkW(configPath.c_str(), elsewhere.c_str(), nullptr));

    EXPECT_EQ(RunCheckerChild(configPath, L"download", true).messages, kNoLines);
    EXPECT_EQ(ReadBytes(configPath), victim);
    EXPECT_EQ(ReadBytes(elsewhere), victim);
    EXPECT_EQ(Paths().back(), "/documents/checkerconfig.json");

    EXPECT_EQ(RunCheckerChild(configPath, L"download", false).messages, kNoLines);
    EXPECT_EQ(ReadBytes(configPath), victim);
    EXPECT_EQ(ReadBytes(elsewhere), victim);
}

TEST_F(ConfigDownload, NoNetworkLogsAndKeepsTheFile) {
    ProxyForTest nowhere(ClosedLoopbackPort());
    EXPECT_EQ(Download(), kReadFailed);
    EXPECT_EQ(ReadBytes(configPath), kOld);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(ConfigDownload, UnusableServerClocksFallBackToTheLocalClock) {
    for (const char* reply : {"{\"timestamp\":1733735000}", "", "-5"}) {
        SCOPED_TRACE(reply);
        server.Route("/common/getTimestamp", {"200 OK", reply});
        const time_t before = time(nullptr);
        EXPECT_EQ(Download(), kNoLines);
        const time_t after = time(nullptr);
        const std::string local = server.Requests().back().local;
        EXPECT_EQ(local, "/documents/checkerconfig.json");
        const std::string signedRequest = server.Requests()[server.Requests().size() - 2].local;
        const size_t at = signedRequest.find("&timestamp=");
        ASSERT_NE(at, std::string::npos);
        const long long stamp = atoll(signedRequest.c_str() + at + 11);
        EXPECT_GE(stamp, static_cast<long long>(before));
        EXPECT_LE(stamp, static_cast<long long>(after));
    }
    server.Route("/common/getTimestamp", {"200 OK", "99999999999"});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_NE(server.Requests()[server.Requests().size() - 2].local.find(
                  "&timestamp=2147483647&accesstoken="),
              std::string::npos);
}

// The file is replaced in one step: when the replacement cannot happen
// (another program holds the file open without delete sharing), the old
// file stays whole and no temporary file is left behind.
TEST_F(ConfigDownload, AFailedReplacementLeavesTheOldFileWhole) {
    HANDLE holder = CreateFileW(configPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Download(), kNoLines);
    CloseHandle(holder);
    EXPECT_EQ(ReadBytes(configPath), kOld);
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::wstring>{L"checkerconfig.json"});
    EXPECT_EQ(Paths().back(), "/documents/checkerconfig.json");
}

// A reader that has the old file open keeps reading the old bytes: the old
// file is never truncated and rewritten in place under it.
TEST_F(ConfigDownload, OpenReadersKeepSeeingTheOldFile) {
    HANDLE reader = CreateFileW(configPath.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Download(), kNoLines);
    char buffer[256] = {};
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(reader, buffer, sizeof buffer, &got, nullptr));
    CloseHandle(reader);
    EXPECT_EQ(std::string(buffer, got), kOld);
    // Windows refuses to replace an open file (Wine too), so the name still
    // holds the old file; it must at least be one whole version.
    const std::string now = ReadBytes(configPath);
    EXPECT_TRUE(now == kOld || now == "{\"body\":{}}\r\n") << now;
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::wstring>{L"checkerconfig.json"});
}

TEST_F(ConfigDownload, MissingFolderIsNotCreatedByTheDownload) {
    configPath = dir.File(L"absent\\checkerconfig.json");
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadBytes(configPath), "<missing>");
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::wstring>{L"checkerconfig.json"});
}

} // namespace

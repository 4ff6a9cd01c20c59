// The product's client against the reference configuration service
// (tools/config_service.py), which checks every signed request with its own
// MD5. Started through tools/with_config_service.py, which runs the service
// and points WinINet at it with http_proxy: the product's compiled-in host
// is used unchanged. ctest runs it that way (test service_end_to_end).
#include "engine/system_checker.h"
#include "service/http.h"
#include "tests/engine/fake_machine.h"
#include "tests/engine/checker_child.h"
#include "support/text.h"
#include "tests/win/temp_dir.h"

#include <json/reader.h>
#include <json/value.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kHostUrl = std::string("http://") + TVX_SERVICE_HOST;
const std::string kOld = "{\"body\":{\"OS\":[\"OLD\"]}}\r\n";

std::string Control(const std::string& what) {
    std::string body;
    HttpGet(kHostUrl + "/_control/" + what, body);
    return body;
}

Json::Value RecordedRequests() {
    Json::Value requests;
    Json::CharReaderBuilder builder;
    const std::string text = Control("requests");
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    reader->parse(text.data(), text.data() + text.size(), &requests, &errors);
    return requests;
}

std::string SourceFile(const char* relative) {
    const char* root = std::getenv("TVX_SOURCE_DIR");
    // A Unix path reads from the current drive, which ctest's working
    // folder puts on Wine's Z: (the Unix root).
    return ReadBytes(Utf8ToWide((std::string(root ? root : ".") + "/" + relative).c_str()));
}

class ReferenceService : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("TVX_CONFIG_SERVICE_PORT"), nullptr)
            << "run through tools/with_config_service.py";
        ASSERT_EQ(Control("reset"), "reset\n") << "the service does not answer";
        configPath = dir.Write(L"checkerconfig.json", kOld);
    }

    void Fault(const std::string& name) { ASSERT_EQ(Control("fault?name=" + name), "ok\n"); }

    std::vector<std::string> Download() {
        const ChildOutcome outcome = RunCheckerChild(configPath, L"download");
        EXPECT_EQ(outcome.exitCode, 0u);
        return outcome.messages;
    }

    TempDir dir;
    std::wstring configPath;
};

TEST_F(ReferenceService, WholeRunIsSignedStoredAndEvaluated) {
    FakeMachine machine;
    machine.standaloneSteamVr = true;
    machine.controllers = {{kChildAdapter, L"1.0"}};
    CSystemChecker checker(configPath);
    // The served document's AMD games list holds an empty entry: it takes
    // whatever adapter the host reports, with none of the NVIDIA list's
    // low-end and mobile model checks.
    EXPECT_EQ(checker.Run(L"en", machine), CHECK_RESULT_GAME);

    const std::string document = SourceFile("tests/service/e2e_config.json");
    ASSERT_NE(document, "<missing>");
    EXPECT_EQ(ReadBytes(configPath), document);
    EXPECT_EQ(checker.Report()->OS, NameList{L"WINDOWS 10"});

    const Json::Value requests = RecordedRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0]["path"].asString(), "/common/getTimestamp");
    EXPECT_EQ(requests[1]["path"].asString(), "/vuzozid/wscheckerconfig");
    EXPECT_EQ(requests[2]["path"].asString(), "/documents/checkerconfig.json");
    // The service recomputed the token from its key, the time stamp it sent
    // and the endpoint URL, and found it equal.
    EXPECT_EQ(requests[1]["verdict"].asString(), "ok");
    EXPECT_EQ(requests[1]["query"].asString().rfind("language=en&timestamp=", 0), 0u);
    for (const Json::Value& request : requests) {
        EXPECT_EQ(request["method"].asString(), "GET");
        EXPECT_EQ(request["user_agent"].asString(), "Quenmar");
        // Proxy form: the absolute URL with the compiled-in host.
        EXPECT_EQ(request["target"].asString().rfind("http://" TVX_SERVICE_HOST, 0), 0u)
            << request["target"].asString();
    }
}

// Every row keeps the old file; the log says why, or nothing when no whole
// reply came.
struct Row {
    const char* fault;
    std::vector<std::string> lines;
};

TEST_F(ReferenceService, EveryFailureRow) {
    const std::vector<std::string> none = {"<separator>"};
    const std::vector<std::string> read = {"<separator>", "read config url failed(json). "};
    const std::vector<std::string> get = {"<separator>", "get config url failed(json). "};
    const std::vector<std::string> badJson = {"<separator>", "keep old config. bad json"};
    const std::vector<std::string> status404 = {"<separator>", "keep old config. status=404"};
    const std::vector<std::string> tooLarge = {"<separator>", "keep old config. too large"};
    const Row rows[] = {
        {"config:empty", read},      {"config:not-json", read},
        {"config:array", read},      {"config:404", read},
        {"config:null", get},        {"config:no-body", get},
        {"config:no-url", none},     {"config:numeric-url", none},
        {"config:file-url", none},   {"config:huge", read},
        {"document:empty", badJson}, {"document:not-json", badJson},
        {"document:html", badJson},  {"document:truncated", badJson},
        {"document:drop", badJson},  {"document:404", status404},
        {"document:huge", tooLarge},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        ASSERT_EQ(Control("reset"), "reset\n");
        dir.Write(L"checkerconfig.json", kOld);
        Fault(row.fault);
        EXPECT_EQ(Download(), row.lines);
        EXPECT_EQ(ReadBytes(configPath), kOld);
        const Json::Value requests = RecordedRequests();
        ASSERT_GE(requests.size(), 2u);
        EXPECT_EQ(requests[1]["verdict"].asString(), "ok");
    }
}

TEST_F(ReferenceService, TheClockReplysCookieIsNeverSentBack) {
    Fault("clock:cookie");
    Download();
    const Json::Value requests = RecordedRequests();
    ASSERT_EQ(requests.size(), 3u);
    for (const Json::Value& request : requests)
        EXPECT_EQ(request["cookie"].asString(), "") << request["path"].asString();
}

TEST_F(ReferenceService, DocumentEdgeCases) {
    Fault("document:long");
    Download();
    const std::string longDocument = ReadBytes(configPath);
    EXPECT_EQ(longDocument.size(), 2500u);
    EXPECT_EQ(longDocument.rfind("{\"body\":{\"CPU_Game\":[\"PAD0000\",", 0), 0u);

    Fault("document:zero-byte");
    Download();
    EXPECT_EQ(ReadBytes(configPath), "{\"body\":{\"OS\":[\"WINDOWS 10\"]}}");
}

TEST_F(ReferenceService, BrokenClocks) {
    Fault("clock:huge");
    Download();
    Json::Value requests = RecordedRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_NE(requests[1]["query"].asString().find("&timestamp=2147483647&"), std::string::npos);
    EXPECT_EQ(requests[1]["verdict"].asString(), "ok");

    ASSERT_EQ(Control("reset"), "reset\n");
    Fault("clock:json");
    Download();
    requests = RecordedRequests();
    ASSERT_EQ(requests.size(), 3u);
    // Signed with the local clock; the token still checks out.
    EXPECT_EQ(requests[1]["verdict"].asString(), "ok");
}

} // namespace

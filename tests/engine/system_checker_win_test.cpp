// A whole CSystemChecker::Run against the loopback service reached through
// the proxy setting: signed download, graphics probe, evaluation, code.
#include "engine/system_checker.h"
#include "service/request_signing.h"
#include "tests/engine/fake_machine.h"
#include "tests/engine/checker_child.h"
#include "support/text.h"
#include "tests/service/loopback_http.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

#include <json/writer.h>

#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kDocumentUrl =
    std::string("http://") + TVX_SERVICE_HOST + "/documents/checkerconfig.json";

// A configuration that accepts the fixed machine of the tests: its processor,
// its system and its adapter. CR LF and LF line ends both occur.
std::string AcceptingDocument() {
    return "{\"code\":0,\"body\":{\r\n"
           "  \"CPU_Game\":[\"I7-8700K\"],\n"
           "  \"OS\":[\"WINDOWS 10\"],\r\n"
           "  \"GPU_AMD_Game\":[" +
           Json::valueToQuotedString(WideToUtf8(AsciiUpper(kChildAdapter)).c_str()) +
           "]\n"
           "}}\r\n";
}

class CheckerRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.listening());
        server.Route("/common/getTimestamp", {"200 OK", "1733735000\r\n"});
        server.Route("/vuzozid/wscheckerconfig",
                     {"200 OK", "{\"code\":0,\"body\":{\"url\":\"" + kDocumentUrl + "\"}}"});
        server.Route("/documents/checkerconfig.json", {"200 OK", kDocument});
        machine.standaloneSteamVr = true;
        machine.controllers = {{kChildAdapter, L"1.0"}};
    }

    TempDir dir;
    std::wstring configPath = dir.File(L"checkerconfig.json");
    LoopbackHttp server;
    ProxyForTest proxy{server.port()};
    FakeMachine machine;
    const std::string kDocument = AcceptingDocument();
};

TEST_F(CheckerRun, DownloadsProbesEvaluatesAndReturnsTheCode) {
    CSystemChecker checker(configPath);
    EXPECT_EQ(checker.Language(), L"cn");
    EXPECT_EQ(checker.Report(), nullptr);

    EXPECT_EQ(checker.Run(L"en", machine), CHECK_RESULT_GAME);
    EXPECT_EQ(checker.LastCheckResult(), CHECK_RESULT_GAME);
    EXPECT_EQ(checker.Language(), L"en");

    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].local, "/common/getTimestamp");
    EXPECT_EQ(requests[2].local, "/documents/checkerconfig.json");
    for (const RecordedRequest& request : requests)
        EXPECT_EQ(request.userAgent, "Quenmar");
    if (std::string(TVX_SERVICE_HOST) == "config.tavolex.com") {
        EXPECT_EQ(requests[1].local, "/vuzozid/wscheckerconfig?language=en&timestamp=1733735000"
                                     "&accesstoken=688188f42e5417e8c10741700872b680");
    }

    EXPECT_EQ(ReadBytes(configPath), kDocument);
    CCheckReport* report = checker.Report();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->config_path, configPath);
    // The evaluation read the document just stored, and the probe ran.
    EXPECT_EQ(report->OS, NameList{L"WINDOWS 10"});
    EXPECT_EQ(report->adapter_names, NameList{AsciiUpper(kChildAdapter) + L" "});
    EXPECT_EQ(report->game_result, VERDICT_SUPPORTED);
    EXPECT_EQ(report->steamvr, VERDICT_SUPPORTED);
}

TEST_F(CheckerRun, WithoutSteamVrTheGamesCodeSaysSo) {
    machine.standaloneSteamVr = false;
    CSystemChecker checker(configPath);
    EXPECT_EQ(checker.Run(L"jp", machine), CHECK_RESULT_GAME_NO_STEAMVR);
    EXPECT_NE(server.Requests()[1].local.find("?language=jp&timestamp="), std::string::npos);
}

// One report per process: a second run keeps it (its lists are never
// cleared, so they double) and keeps the language when none is given.
TEST_F(CheckerRun, ASecondRunReusesTheReportAndTheLanguage) {
    CSystemChecker checker(configPath);
    checker.Run(L"jp", machine);
    CCheckReport* first = checker.Report();
    EXPECT_EQ(checker.Run(nullptr, machine), CHECK_RESULT_GAME);
    EXPECT_EQ(checker.Report(), first);
    EXPECT_EQ(first->OS, (NameList{L"WINDOWS 10", L"WINDOWS 10"}));
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_NE(requests[4].local.find("?language=jp&timestamp="), std::string::npos);
}

TEST_F(CheckerRun, FirstRunWithoutALanguageAsksForChinese) {
    CSystemChecker checker(configPath);
    checker.Run(nullptr, machine);
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_NE(server.Requests()[1].local.find("?language=cn&timestamp="), std::string::npos);
}

// No network at all: the run logs the failed download, keeps the older file
// and still ends with the code that file gives.
TEST_F(CheckerRun, NoNetworkUsesTheOlderFile) {
    dir.Write(L"checkerconfig.json", kDocument);
    ProxyForTest nowhere(ClosedLoopbackPort());
    const ChildOutcome outcome = RunCheckerChild(configPath, L"run");
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(CHECK_RESULT_GAME));
    // The evaluation's own progress notes follow; they are not this test's.
    ASSERT_GE(outcome.messages.size(), 2u);
    EXPECT_EQ(outcome.messages[0], "<separator>");
    EXPECT_EQ(outcome.messages[1], "read config url failed(json). ");
    for (size_t i = 2; i < outcome.messages.size(); ++i)
        EXPECT_EQ(outcome.messages[i].find("config"), std::string::npos) << outcome.messages[i];
    EXPECT_EQ(ReadBytes(configPath), kDocument);
    EXPECT_TRUE(server.Requests().empty());
}

// Without a file of its own the evaluation falls back to the configuration
// shipped beside the program. The code is the one a plain evaluation of this
// machine gives with no downloaded file: whether the shipped lists take this
// machine's adapters is the host's affair, not this test's.
TEST_F(CheckerRun, NoNetworkAndNoFileStillEndsWithACode) {
    ProxyForTest nowhere(ClosedLoopbackPort());
    const ChildOutcome outcome = RunCheckerChild(configPath, L"run");

    CCheckReport expected(configPath);
    std::thread([&] {
        expected.ProbeVideoControllers(machine);
        expected.Evaluate(machine);
    }).join();
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(CheckResultOf(expected)));
    ASSERT_GE(outcome.messages.size(), 2u);
    EXPECT_EQ(outcome.messages[1], "read config url failed(json). ");
    EXPECT_EQ(ReadBytes(configPath), "<missing>");
}

TEST(SystemCheckerInstance, IsOneObjectWithTheUpdatesFolder) {
    CSystemChecker& checker = CSystemChecker::Instance();
    EXPECT_EQ(&checker, &CSystemChecker::Instance());
    const std::wstring suffix = L"\\ORMEX\\updates\\tavolex\\checkerconfig.json";
    const std::wstring& path = checker.ConfigPath();
    ASSERT_GT(path.size(), suffix.size());
    EXPECT_EQ(path.substr(path.size() - suffix.size()), suffix);
    const std::wstring folder = path.substr(0, path.size() - 18);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(checker.Language(), L"cn");
    EXPECT_EQ(checker.LastCheckResult(), CHECK_RESULT_NONE);
}

} // namespace

// CSystemChecker::DownloadConfig against the loopback service, through the
// proxy setting. The log is process-wide and opened once per run, so each
// download runs in a child run of this program that opens the log, downloads
// once and exits; the parent scripts the service and then reads what the
// child appended to the log and left in the configuration file.
#include "engine/system_checker.h"
#include "service/request_signing.h"
#include "support/log.h"
#include "tests/service/loopback_http.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

const wchar_t kChildVariable[] = L"TVX_DOWNLOAD_CHILD";
const std::string kDocumentUrl =
    std::string("http://") + TVX_SERVICE_HOST + "/documents/checkerconfig.json";
const std::string kOld = "{\"body\":{\"OS\":[\"OLD\"]}}\r\n";

// The child side runs before main, so it never reaches the test runner.
struct DownloadChild {
    DownloadChild() {
        wchar_t path[MAX_PATH] = {};
        if (GetEnvironmentVariableW(kChildVariable, path, MAX_PATH) == 0)
            return;
        CCTLog::GetInstance().Open();
        CSystemChecker checker(path);
        checker.DownloadConfig();
        ExitProcess(0);
    }
} g_downloadChild;

std::string ReadAll(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::string LogText() {
    wchar_t common[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common);
    const std::string text = ReadAll(std::wstring(common) + L"\\ORMEX\\Logs\\Tavolex.log");
    return text == "<missing>" ? std::string() : text;
}

// The messages of the log lines in text, without their time stamps.
std::vector<std::string> Messages(const std::string& text) {
    std::vector<std::string> messages;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t tab = line.find('\t');
        if (tab != std::string::npos)
            messages.push_back(line.substr(tab + 1));
        at = end + 1;
    }
    return messages;
}

std::vector<std::wstring> FolderEntries(const TempDir& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir.path() + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

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
        const std::string logBefore = LogText();
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=None";
        SetEnvironmentVariableW(kChildVariable, configPath.c_str());
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0,
                                            nullptr, nullptr, &startup, &process);
        SetEnvironmentVariableW(kChildVariable, nullptr);
        EXPECT_TRUE(started);
        if (!started)
            return {};
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        const std::string logAfter = LogText();
        EXPECT_GE(logAfter.size(), logBefore.size());
        EXPECT_EQ(logAfter.compare(0, logBefore.size(), logBefore), 0) << "log was rewritten";
        return Messages(logAfter.substr(std::min(logBefore.size(), logAfter.size())));
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

const std::vector<std::string> kNoLines;
const std::vector<std::string> kReadFailed = {"read config url failed(json). "};
const std::vector<std::string> kGetFailed = {"get config url failed(json). "};

TEST_F(ConfigDownload, StoresTheNamedDocumentByteForByte) {
    // Mixed line ends, non-ASCII UTF-8 and a trailing blank must all survive.
    const std::string document =
        "{\"body\":{\"OS\":[\"WINDOWS 10\"],\r\n\"CPU_Game\":[\"I7-\xE9\x85\xB7\"]}}\n\r\n ";
    server.Route("/documents/checkerconfig.json", {"200 OK", document});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadAll(configPath), document);
    EXPECT_EQ(FolderEntries(dir), std::vector<std::wstring>{L"checkerconfig.json"});

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
        EXPECT_EQ(ReadAll(configPath), kOld);
        // Nothing beyond the clock and the signed request was asked for.
        EXPECT_EQ(server.Requests().size() - before, 2u);
    }
    EXPECT_EQ(FolderEntries(dir), std::vector<std::wstring>{L"checkerconfig.json"});
}

TEST_F(ConfigDownload, DocumentRepliesDecideWhetherTheFileIsReplaced) {
    server.Route("/documents/checkerconfig.json", {"200 OK", ""});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadAll(configPath), kOld);

    // Stored as it came: the service is trusted to name a document, and the
    // configuration reader reports what it cannot parse.
    server.Route("/documents/checkerconfig.json", {"200 OK", "not a configuration"});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadAll(configPath), "not a configuration");

    server.Route("/documents/checkerconfig.json", {"404 Not Found", "<html>gone</html>"});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadAll(configPath), "<html>gone</html>");

    server.Route("/documents/checkerconfig.json",
                 {"200 OK", std::string("{\"body\":{}}\0after", 17)});
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadAll(configPath), "{\"body\":{}}");
    EXPECT_EQ(FolderEntries(dir), std::vector<std::wstring>{L"checkerconfig.json"});
}

TEST_F(ConfigDownload, NoNetworkLogsAndKeepsTheFile) {
    ProxyForTest nowhere(ClosedLoopbackPort());
    EXPECT_EQ(Download(), kReadFailed);
    EXPECT_EQ(ReadAll(configPath), kOld);
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
    EXPECT_EQ(ReadAll(configPath), kOld);
    EXPECT_EQ(FolderEntries(dir), std::vector<std::wstring>{L"checkerconfig.json"});
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
    const std::string now = ReadAll(configPath);
    EXPECT_TRUE(now == kOld || now == "{\"body\":{}}\r\n") << now;
    EXPECT_EQ(FolderEntries(dir), std::vector<std::wstring>{L"checkerconfig.json"});
}

TEST_F(ConfigDownload, MissingFolderIsNotCreatedByTheDownload) {
    configPath = dir.File(L"absent\\checkerconfig.json");
    EXPECT_EQ(Download(), kNoLines);
    EXPECT_EQ(ReadAll(configPath), "<missing>");
    EXPECT_EQ(FolderEntries(dir), std::vector<std::wstring>{L"checkerconfig.json"});
}

} // namespace

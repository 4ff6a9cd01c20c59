// The log is a process-wide object that is opened once per run, so each case
// runs this test program again as a child process (one "run" of the program)
// and then reads what that run appended to the real log file.
#include "support/log.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t kChildVariable[] = L"TVX_LOG_CHILD";

std::wstring LogFolder() {
    wchar_t common[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common);
    return std::wstring(common) + L"\\ORMEX\\Logs";
}

std::wstring LogPath() {
    return LogFolder() + L"\\Tavolex.log";
}

std::string ReadAll(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

// Runs this program once more with only the named child case enabled.
DWORD RunChild(const std::wstring& scenario) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=LogChild." + scenario;
    SetEnvironmentVariableW(kChildVariable, scenario.c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &process);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    if (!started)
        return 0xFFFFFFFF;
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// The bytes a child run appended to the log.
std::string AppendedByChild(const std::wstring& scenario) {
    const size_t before = ReadAll(LogPath()).size();
    EXPECT_EQ(0u, RunChild(scenario));
    const std::string after = ReadAll(LogPath());
    return after.size() >= before ? after.substr(before) : std::string();
}

bool IsChild(const wchar_t* scenario) {
    wchar_t value[64] = {};
    GetEnvironmentVariableW(kChildVariable, value, 64);
    return std::wstring(value) == scenario;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "MM/DD/YYYY hh:mm:ss" and a tab.
bool IsStamp(const std::string& s) {
    const char* shape = "dd/dd/dddd dd:dd:dd\t";
    if (s.size() != 20)
        return false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (shape[i] == 'd' ? !IsDigit(s[i]) : s[i] != shape[i])
            return false;
    }
    return true;
}

// Splits appended bytes into the separator and the messages of the lines,
// checking each line's stamp and its CR LF end.
std::vector<std::string> Messages(const std::string& appended) {
    std::vector<std::string> messages;
    size_t pos = 0;
    while (pos < appended.size()) {
        const size_t end = appended.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << appended.substr(pos);
            break;
        }
        const std::string line = appended.substr(pos, end - pos);
        pos = end + 2;
        if (line == "\r") {
            messages.push_back("<separator>");
            continue;
        }
        EXPECT_TRUE(IsStamp(line.substr(0, 20))) << line;
        messages.push_back(line.size() > 20 ? line.substr(20) : std::string());
    }
    return messages;
}

} // namespace

TEST(LogChild, Setup) {
    if (!IsChild(L"Setup"))
        GTEST_SKIP() << "runs only as a child of LogFile tests";
    // Setup mode never opens the log: writes must vanish.
    CCTLog::GetInstance().Write(0, L"dropped %s", L"setup");
    CCTLog::GetInstance().Write(2, L"dropped too");
}

TEST(LogChild, Run) {
    if (!IsChild(L"Run"))
        GTEST_SKIP() << "runs only as a child of LogFile tests";
    CCTLog& log = CCTLog::GetInstance();
    log.Write(0, L"before opening");
    log.Open();
    log.Open(); // a second opening neither reopens nor writes another separator
    log.Write(0, L"open config file failed. file=%s", L"C:\\ProgramData\\x.json");
    log.Write(2, L"Start work...");
    log.Write(3, L"too detailed");
    log.Write(0, L"%s and %d", L"100% sure %d", -42);
    log.Write(0, L"path=%s.", L"C:\\Users\\\u5F20\u4E09\\caf\u00E9");
    log.Write(0, L"");
}

TEST(LogChild, Threads) {
    if (!IsChild(L"Threads"))
        GTEST_SKIP() << "runs only as a child of LogFile tests";
    CCTLog::GetInstance().Open();
    auto writer = [](const wchar_t* name) {
        for (int i = 0; i < 1000; ++i)
            CCTLog::GetInstance().Write(2, L"thread %s line %d of a longer message", name, i);
    };
    std::thread a(writer, L"A");
    std::thread b(writer, L"B");
    a.join();
    b.join();
}

TEST(LogFile, SetupModeCreatesAndWritesNothing) {
    const bool folderBefore = GetFileAttributesW(LogFolder().c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string before = ReadAll(LogPath());
    ASSERT_EQ(0u, RunChild(L"Setup"));
    EXPECT_EQ(folderBefore, GetFileAttributesW(LogFolder().c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(before, ReadAll(LogPath()));
}

TEST(LogFile, EachRunAppendsSeparatorThenItsLines) {
    const std::vector<std::string> expected = {
        "<separator>",
        "open config file failed. file=C:\\ProgramData\\x.json",
        "Start work...",
        "100% sure %d and -42",
        "path=C:\\Users\\??\\caf\xE9.",
        "",
    };
    const std::string first = AppendedByChild(L"Run");
    EXPECT_EQ(expected, Messages(first));
    // Exact bytes of the run mark: CR CR LF, then the first stamp.
    EXPECT_EQ("\r\r\n", first.substr(0, 3));
    EXPECT_EQ("Start work...\r\n", first.substr(first.find("Start work..."), 15));

    // A second run appends after the first, with a mark of its own.
    const size_t sizeBefore = ReadAll(LogPath()).size();
    const std::string second = AppendedByChild(L"Run");
    EXPECT_EQ(expected, Messages(second));
    EXPECT_EQ(sizeBefore + second.size(), ReadAll(LogPath()).size());
    EXPECT_NE(std::string::npos, ReadAll(LogPath()).find(first + second));
}

TEST(LogFile, TwoThreadsNeverInterleaveLines) {
    const std::vector<std::string> messages = Messages(AppendedByChild(L"Threads"));
    ASSERT_EQ(2001u, messages.size());
    EXPECT_EQ("<separator>", messages[0]);
    int next[2] = {0, 0};
    for (size_t i = 1; i < messages.size(); ++i) {
        const std::string& m = messages[i];
        const bool isA = m.rfind("thread A line ", 0) == 0;
        const bool isB = m.rfind("thread B line ", 0) == 0;
        ASSERT_TRUE(isA || isB) << m;
        int& expectedIndex = next[isA ? 0 : 1];
        EXPECT_EQ("thread " + std::string(isA ? "A" : "B") + " line " +
                      std::to_string(expectedIndex) + " of a longer message",
                  m);
        ++expectedIndex;
    }
    EXPECT_EQ(1000, next[0]);
    EXPECT_EQ(1000, next[1]);
}

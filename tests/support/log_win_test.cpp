// The log is a process-wide object that is opened once per run, so each case
// runs this test program again as a child process (one "run" of the program)
// and then reads what that run appended to the real log file.
#include "support/elevation.h"
#include "support/log.h"
#include "tests/support/child_process_win.h"
#include "tests/win/links.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t kNotElevated[] = L"TVX_TEST_NOT_ELEVATED";

std::wstring LogFolder() {
    const std::wstring path = LogFilePath();
    return path.substr(0, path.rfind(L'\\'));
}

// The bytes a child run of the named LogChild case appended to the log.
std::string AppendedByChild(const std::wstring& scenario) {
    const size_t before = ReadFileShared(LogFilePath()).size();
    EXPECT_EQ(0u, RunTestChild(L"LogChild." + scenario));
    const std::string after = ReadFileShared(LogFilePath());
    return after.size() >= before ? after.substr(before) : std::string();
}

} // namespace

TEST(LogChild, Setup) {
    if (!IsTestChild(L"LogChild.Setup"))
        GTEST_SKIP() << "runs only as a child of LogFile tests";
    // Setup mode never opens the log: writes must vanish.
    CCTLog::GetInstance().Write(LOG_LEVEL_FAILURE, L"dropped %s", L"setup");
    CCTLog::GetInstance().Write(LOG_LEVEL_PROGRESS, L"dropped too");
}

TEST(LogChild, Run) {
    if (!IsTestChild(L"LogChild.Run"))
        GTEST_SKIP() << "runs only as a child of LogFile tests";
    // Wine runs every program elevated: the parent may ask for the other way.
    if (GetEnvironmentVariableW(kNotElevated, nullptr, 0) != 0)
        SetElevationForTesting(false);
    CCTLog& log = CCTLog::GetInstance();
    log.Write(LOG_LEVEL_FAILURE, L"before opening");
    log.Open();
    log.Open(); // a second opening neither reopens nor writes another separator
    log.Write(LOG_LEVEL_FAILURE, L"open config file failed. file=%s", L"C:\\ProgramData\\x.json");
    log.Write(LOG_LEVEL_PROGRESS, L"Start work...");
    log.Write(3, L"too detailed");
    log.Write(LOG_LEVEL_FAILURE, L"%s and %d", L"100% sure %d", -42);
    log.Write(LOG_LEVEL_FAILURE, L"path=%s.", L"C:\\Users\\\u5F20\u4E09\\caf\u00E9");
    log.Write(LOG_LEVEL_FAILURE, L"");
}

TEST(LogChild, Threads) {
    if (!IsTestChild(L"LogChild.Threads"))
        GTEST_SKIP() << "runs only as a child of LogFile tests";
    CCTLog::GetInstance().Open();
    auto writer = [](const wchar_t* name) {
        for (int i = 0; i < 1000; ++i)
            CCTLog::GetInstance().Write(LOG_LEVEL_PROGRESS,
                                        L"thread %s line %d of a longer message", name, i);
    };
    std::thread a(writer, L"A");
    std::thread b(writer, L"B");
    a.join();
    b.join();
}

TEST(LogFile, SetupModeCreatesAndWritesNothing) {
    const bool folderBefore = GetFileAttributesW(LogFolder().c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string before = ReadFileShared(LogFilePath());
    ASSERT_EQ(0u, RunTestChild(L"LogChild.Setup"));
    EXPECT_EQ(folderBefore, GetFileAttributesW(LogFolder().c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(before, ReadFileShared(LogFilePath()));
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
    EXPECT_EQ(expected, LogMessages(first));
    // Exact bytes of the run mark: CR CR LF, then the first stamp.
    EXPECT_EQ("\r\r\n", first.substr(0, 3));
    EXPECT_EQ("Start work...\r\n", first.substr(first.find("Start work..."), 15));

    // A second run appends after the first, with a mark of its own.
    const size_t sizeBefore = ReadFileShared(LogFilePath()).size();
    const std::string second = AppendedByChild(L"Run");
    EXPECT_EQ(expected, LogMessages(second));
    EXPECT_EQ(sizeBefore + second.size(), ReadFileShared(LogFilePath()).size());
    EXPECT_NE(std::string::npos, ReadFileShared(LogFilePath()).find(first + second));
}

// Runs with and without elevation keep the log the same way, byte for byte.
TEST(LogFile, RunsWithAndWithoutElevationWriteTheSameLines) {
    const std::vector<std::string> elevated = LogMessages(AppendedByChild(L"Run"));
    SetEnvironmentVariableW(kNotElevated, L"1");
    const std::string plainBytes = AppendedByChild(L"Run");
    SetEnvironmentVariableW(kNotElevated, nullptr);
    EXPECT_EQ(elevated, LogMessages(plainBytes));
    EXPECT_EQ("\r\r\n", plainBytes.substr(0, 3));
}

// Every user of the machine shares the log's folder, so a run without
// elevation checks it too: a link planted where the log belongs is not
// followed, and that run keeps no log.
TEST(LogFile, ARunWithoutElevationDoesNotFollowALinkAtTheLog) {
    AppendedByChild(L"Run"); // the folders exist
    // The log's folder is set aside whole: this test program may hold the
    // log itself open (its start window tests open it), which a rename of
    // the file would not pass. Windows refuses that too, Wine does not.
    const std::wstring folder = LogFolder();
    const std::wstring aside = folder + L".aside";
    if (!MoveFileExW(folder.c_str(), aside.c_str(), 0))
        GTEST_SKIP() << "the log's folder is held open here";
    CreateDirectoryW(folder.c_str(), nullptr);
    TempDir dir;
    const std::string victim = "somebody else's file\r\n";
    const std::wstring target = dir.Write(L"victim.log", victim);
    const bool planted = PlantLink(target, LogFilePath(), false);
    if (planted) {
        SetEnvironmentVariableW(kNotElevated, L"1");
        EXPECT_EQ(0u, RunTestChild(L"LogChild.Run"));
        SetEnvironmentVariableW(kNotElevated, nullptr);
        EXPECT_EQ(victim, ReadFileShared(target));
        RemoveLink(LogFilePath(), false);
    }
    RemoveDirectoryW(folder.c_str());
    ASSERT_TRUE(MoveFileExW(aside.c_str(), folder.c_str(), 0));
    if (!planted)
        GTEST_SKIP() << "this system lets the test make no link";
}

TEST(LogFile, TwoThreadsNeverInterleaveLines) {
    const std::vector<std::string> messages = LogMessages(AppendedByChild(L"Threads"));
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

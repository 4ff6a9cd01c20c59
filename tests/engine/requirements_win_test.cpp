#include "engine/requirements_win.h"

#include "engine/check_report.h"
#include "support/log.h"
#include "support/win_handles.h"
#include "tests/engine/fake_machine.h"
#include "tests/support/child_process_win.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

namespace {

const char kGood[] = R"({"body":{"OS":["Windows 10"],"CPU_Game":["I7-"]}})";
const char kOther[] = R"({"body":{"OS":["WINDOWS 11"]}})";
const wchar_t kDirVariable[] = L"TVX_TEST_DIR";

// A program folder "app" with its parent, an updates folder, and a folder
// standing in for the temporary folder.
struct Layout {
    TempDir temp;
    std::wstring exe = temp.path() + L"\\app\\TavolexCheck.exe";
    std::wstring tempFolder = temp.path() + L"\\tmp\\";
    std::wstring updates = temp.path() + L"\\updates\\checkerconfig.json";

    Layout() {
        CreateDirectoryW((temp.path() + L"\\app").c_str(), nullptr);
        CreateDirectoryW((temp.path() + L"\\tmp").c_str(), nullptr);
        CreateDirectoryW((temp.path() + L"\\updates").c_str(), nullptr);
    }
    void MakeFolder(const std::wstring& relative) const {
        std::wstring path = temp.path();
        size_t start = 0;
        while (start <= relative.size()) {
            const size_t end = relative.find(L'\\', start);
            path += L"\\" + relative.substr(start, end - start);
            CreateDirectoryW(path.c_str(), nullptr);
            if (end == std::wstring::npos)
                break;
            start = end + 1;
        }
    }
    std::wstring Choose() const { return ChooseRequirementsFile(updates, exe, tempFolder); }
    std::wstring BesideExe() const { return temp.path() + L"\\app\\config\\checkerconfig.json"; }
    std::wstring InParent() const { return temp.path() + L"\\Tavolex\\config\\checkerconfig.json"; }
    std::wstring InTemp() const {
        return tempFolder + L"\\ORMEX\\Tavolex\\config\\checkerconfig.json";
    }
};

std::string Narrow(const std::wstring& ascii) {
    return std::string(ascii.begin(), ascii.end());
}

std::wstring ChildDir() {
    wchar_t value[MAX_PATH] = {};
    GetEnvironmentVariableW(kDirVariable, value, MAX_PATH);
    return value;
}

// Runs a child with TVX_TEST_DIR set; returns what it appended to the log.
std::string ChildLog(const std::wstring& test, const std::wstring& dir,
                     const std::wstring& exe = std::wstring()) {
    const size_t before = ReadFileShared(LogFilePath()).size();
    SetEnvironmentVariableW(kDirVariable, dir.c_str());
    EXPECT_EQ(0u, RunTestChild(test, exe));
    SetEnvironmentVariableW(kDirVariable, nullptr);
    const std::string after = ReadFileShared(LogFilePath());
    return after.size() >= before ? after.substr(before) : std::string();
}

} // namespace

TEST(RequirementsFile, ReadableDownloadIsPreferred) {
    Layout l;
    l.temp.Write(L"updates\\checkerconfig.json", kGood);
    l.MakeFolder(L"app\\config");
    l.temp.Write(L"app\\config\\checkerconfig.json", kOther);
    EXPECT_EQ(l.updates, l.Choose());

    // Any JSON counts here; its root is judged when the file is read.
    l.temp.Write(L"updates\\checkerconfig.json", "[1,2]");
    EXPECT_EQ(l.updates, l.Choose());
}

TEST(RequirementsFile, DamagedDownloadFallsBackToTheFileBesideTheExecutable) {
    Layout l;
    l.temp.Write(L"updates\\checkerconfig.json", "{\"body\":{\"OS\":[\"WIN");
    l.MakeFolder(L"app\\config");
    l.temp.Write(L"app\\config\\checkerconfig.json", kOther);
    EXPECT_EQ(l.BesideExe(), l.Choose());

    // Empty, a folder of that name, or no path at all: the same fallback.
    l.temp.Write(L"updates\\checkerconfig.json", "");
    EXPECT_EQ(l.BesideExe(), l.Choose());
    EXPECT_EQ(l.BesideExe(), ChooseRequirementsFile(L"", l.exe, l.tempFolder));
    EXPECT_EQ(l.BesideExe(),
              ChooseRequirementsFile(l.temp.path() + L"\\app\\config", l.exe, l.tempFolder));
}

TEST(RequirementsFile, DownloadHeldOpenByAWriterIsPassedOver) {
    Layout l;
    const std::wstring updates = l.temp.Write(L"updates\\checkerconfig.json", kGood);
    l.MakeFolder(L"app\\config");
    l.temp.Write(L"app\\config\\checkerconfig.json", kOther);
    HANDLE writer = CreateFileW(updates.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    EXPECT_EQ(l.BesideExe(), l.Choose());
    CloseHandle(writer);
    EXPECT_EQ(l.updates, l.Choose());
}

TEST(RequirementsFile, ConfigFolderWithoutTheFileGoesStraightToTemp) {
    Layout l;
    l.MakeFolder(L"app\\config");
    l.MakeFolder(L"Tavolex\\config");
    l.temp.Write(L"Tavolex\\config\\checkerconfig.json", kGood);
    EXPECT_EQ(l.InTemp(), l.Choose());
}

TEST(RequirementsFile, ParentTavolexConfigWithoutAConfigFolderBesideTheExecutable) {
    Layout l;
    l.MakeFolder(L"Tavolex\\config");
    l.temp.Write(L"Tavolex\\config\\checkerconfig.json", kGood);
    EXPECT_EQ(l.InParent(), l.Choose());
}

TEST(RequirementsFile, TempFolderPathWhenNothingExists) {
    Layout l;
    // The temporary folder keeps its trailing backslash before "\ORMEX".
    EXPECT_EQ(l.temp.path() + L"\\tmp\\\\ORMEX\\Tavolex\\config\\checkerconfig.json", l.Choose());
    l.MakeFolder(L"tmp\\ORMEX\\Tavolex\\config");
    l.temp.Write(L"tmp\\ORMEX\\Tavolex\\config\\checkerconfig.json", kGood);
    EXPECT_EQ(l.InTemp(), l.Choose());
}

TEST(RequirementsChild, Messages) {
    if (!IsTestChild(L"RequirementsChild.Messages"))
        GTEST_SKIP() << "runs only as a child of RequirementsLog tests";
    CCTLog::GetInstance().Open();
    const std::wstring dir = ChildDir();
    CCheckReport r;
    LoadRequirementsFrom(r, dir + L"\\missing.json");
    LoadRequirementsFrom(r, dir + L"\\damaged.json");
    LoadRequirementsFrom(r, dir + L"\\array.json");
    LoadRequirementsFrom(r, dir + L"\\null.json");
    LoadRequirementsFrom(r, dir + L"\\nobody.json");
    LoadRequirementsFrom(r, dir + L"\\huge.json");
    EXPECT_TRUE(r.OS.empty());
    LoadRequirementsFrom(r, dir + L"\\good.json");
    EXPECT_EQ((NameList{L"WINDOWS 10"}), r.OS);
    EXPECT_EQ((NameList{L"I7-"}), r.CPU_Game);
}

TEST(RequirementsLog, ThreeMessagesWordForWord) {
    TempDir dir;
    dir.Write(L"damaged.json", "<html>504 Gateway Timeout</html>");
    dir.Write(L"array.json", "[{\"body\":{}}]");
    dir.Write(L"null.json", "null");
    dir.Write(L"nobody.json", "{\"code\":0}");
    dir.Write(L"good.json", kGood);
    // Valid, but past the size a configuration may have.
    const std::string pad(1024 * 1024, ' ');
    dir.Write(L"huge.json", std::string(kGood) + pad);
    // An editor or a sync tool holds the good one open for writing: it is
    // read all the same.
    const HandleOwner holder(CreateFileW(dir.File(L"good.json").c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    const std::vector<std::string> expected = {
        "<separator>",
        "open config file failed. file=" + Narrow(dir.path()) + "\\missing.json",
        "parse config file failed. file=" + Narrow(dir.path()) + "\\damaged.json",
        "error config file. file=" + Narrow(dir.path()) + "\\array.json",
        "open config file failed. file=" + Narrow(dir.path()) + "\\huge.json",
    };
    EXPECT_EQ(expected, LogMessages(ChildLog(L"RequirementsChild.Messages", dir.path())));
}

TEST(RequirementsChild, EvaluateWithoutConfig) {
    if (!IsTestChild(L"RequirementsChild.EvaluateWithoutConfig"))
        GTEST_SKIP() << "runs only as a child of RequirementsLog tests";
    CCTLog::GetInstance().Open();
    CCheckReport r(ChildDir() + L"\\updates\\checkerconfig.json");
    FakeMachine m;
    r.Evaluate(m);
    EXPECT_TRUE(r.OS.empty());
    EXPECT_TRUE(r.CPU_Game.empty());
    EXPECT_EQ(VERDICT_UNDECIDED, r.os_support);
    EXPECT_EQ(VERDICT_SUPPORTED, r.mem_support);
    EXPECT_EQ(L"Microsoft Windows 10 Pro(64)", r.display_info.os);
}

TEST(RequirementsChild, EvaluateWithConfigBesideExe) {
    if (!IsTestChild(L"RequirementsChild.EvaluateWithConfigBesideExe"))
        GTEST_SKIP() << "runs only as a child of RequirementsLog tests";
    CCTLog::GetInstance().Open();
    CCheckReport r(ChildDir() + L"\\updates\\checkerconfig.json");
    FakeMachine m;
    r.Evaluate(m);
    EXPECT_EQ((NameList{L"WINDOWS 10"}), r.OS);
    EXPECT_EQ(VERDICT_SUPPORTED, r.os_support);
    EXPECT_EQ(VERDICT_SUPPORTED, r.cpu_game);
}

TEST(RequirementsLog, EvaluationReadsTheRealExecutableFolder) {
    wchar_t tempPath[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tempPath);
    const std::wstring fallback =
        std::wstring(tempPath) + L"\\ORMEX\\Tavolex\\config\\checkerconfig.json";
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(fallback.c_str()))
        << "a leftover configuration in the temporary folder";

    // A copy of this program in a folder of its own, with no configuration
    // anywhere: the open message names the temporary-folder path, and the
    // progress note still follows.
    Layout bare;
    const std::wstring copy = bare.temp.path() + L"\\app\\win_tests.exe";
    ASSERT_TRUE(CopyFileW(TestProgramPath().c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(
        (std::vector<std::string>{
            "<separator>", "open config file failed. file=" + Narrow(fallback), "Start work..."}),
        LogMessages(ChildLog(L"RequirementsChild.EvaluateWithoutConfig", bare.temp.path(), copy)));

    // The same copy with a configuration beside it, and a damaged download.
    bare.MakeFolder(L"app\\config");
    bare.temp.Write(L"app\\config\\checkerconfig.json", kGood);
    bare.temp.Write(L"updates\\checkerconfig.json", "{");
    EXPECT_EQ((std::vector<std::string>{"<separator>", "Start work..."}),
              LogMessages(ChildLog(L"RequirementsChild.EvaluateWithConfigBesideExe",
                                   bare.temp.path(), copy)));
}

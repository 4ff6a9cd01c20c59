#include "support/guarded_file.h"
#include "support/temp_file.h"
#include "tests/win/links.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {
std::string ReadAll(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

size_t FilesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    size_t count = 0;
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++count;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}
} // namespace

TEST(ReplaceFileContents, CreatesAndReplacesWholeFilesWithoutLeftovers) {
    TempDir dir;
    const std::wstring path = dir.File(L"checkerconfig.json");
    ASSERT_EQ(DWORD(ERROR_SUCCESS), ReplaceFileContents(path, "first"));
    EXPECT_EQ("first", ReadAll(path));
    const std::string big(3 * 1024 * 1024 + 17, 'x'); // more than one write
    ASSERT_EQ(DWORD(ERROR_SUCCESS), ReplaceFileContents(path, big));
    EXPECT_EQ(big, ReadAll(path));
    ASSERT_EQ(DWORD(ERROR_SUCCESS), ReplaceFileContents(path, ""));
    EXPECT_EQ("", ReadAll(path));
    EXPECT_EQ(1u, FilesIn(dir.path()));
}

TEST(ReplaceFileContents, FailureKeepsTheOldFile) {
    TempDir dir;
    // A missing folder: nothing can be created.
    EXPECT_NE(DWORD(ERROR_SUCCESS), ReplaceFileContents(dir.File(L"no\\such\\file.json"), "x"));

    // A folder standing where the file should be cannot be replaced.
    const std::wstring folder = dir.File(L"taken");
    CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_NE(DWORD(ERROR_SUCCESS), ReplaceFileContents(folder, "x"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.c_str()));
    EXPECT_TRUE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(0u, FilesIn(dir.path())); // no temporary file left behind
}

TEST(ReplaceFileContents, ALinkAtTheTargetIsReplacedNeverWrittenThrough) {
    TempDir dir;
    const std::string victim = "somebody else's file\r\n";
    const std::wstring elsewhere = dir.Write(L"victim.txt", victim);
    const std::wstring report = dir.File(L"report.json");

    ASSERT_TRUE(CreateHardLinkW(report.c_str(), elsewhere.c_str(), nullptr));
    ASSERT_EQ(DWORD(ERROR_SUCCESS), ReplaceFileContents(report, "{}"));
    EXPECT_EQ("{}", ReadAll(report));
    EXPECT_EQ(victim, ReadAll(elsewhere)) << "written through the hard link";

    DeleteFileW(report.c_str());
    if (!PlantLink(elsewhere, report, false))
        GTEST_SKIP() << "this system lets the test make no symbolic link";
    const DWORD replaced = ReplaceFileContents(report, "{\"x\":1}");
    if (GetFileAttributesW(report.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT)
        RemoveLink(report, false); // before the folder goes, which would follow it
    ASSERT_EQ(DWORD(ERROR_SUCCESS), replaced);
    EXPECT_EQ(victim, ReadAll(elsewhere)) << "written through the symbolic link";
    EXPECT_EQ("{\"x\":1}", ReadAll(report));
    const DWORD attributes = GetFileAttributesW(report.c_str());
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(2u, FilesIn(dir.path()));
}

TEST(ReplaceFileContents, PlantedTemporaryNamesAreNeverOpened) {
    TempDir dir;
    const std::wstring target = dir.File(L"checkerconfig.json");
    // Names built from process and thread ids, and guesses at the names
    // this one picks.
    const std::map<std::wstring, std::string> planted = {
        {L"checkerconfig.json.1234-5678.tmp", "planted 1"},
        {L"checkerconfig.json.tmp", "planted 2"},
        {L"checkerconfig.json.00000000000000000000000000000000.tmp", "planted 3"},
    };
    for (const auto& file : planted)
        dir.Write(file.first, file.second);
    ASSERT_EQ(DWORD(ERROR_SUCCESS), ReplaceFileContents(target, "new"));
    std::map<std::wstring, std::string> expected = planted;
    expected[L"checkerconfig.json"] = "new";
    EXPECT_EQ(expected, TreeOf(dir.path()));
}

TEST(ReplaceFileContents, ARelativePathIsTakenFromTheCurrentDirectory) {
    TempDir dir;
    wchar_t old[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));
    const DWORD result = ReplaceFileContents(L"findings.txt", "found");
    SetCurrentDirectoryW(old);
    ASSERT_EQ(DWORD(ERROR_SUCCESS), result);
    EXPECT_EQ("found", ReadAll(dir.File(L"findings.txt")));
}

TEST(TempFile, UnpredictableNamesAndNothingLeftUnlessCommitted) {
    TempDir dir;
    const std::wstring target = dir.File(L"r.json");
    const std::wstring a = NewTempNameFor(target);
    const std::wstring b = NewTempNameFor(target);
    EXPECT_NE(a, b);
    ASSERT_EQ(target.size() + 1 + 32 + 4, a.size());
    EXPECT_EQ(0u, a.rfind(target + L".", 0));
    {
        TempFile temp;
        ASSERT_EQ(DWORD(ERROR_SUCCESS), temp.Create(target));
        ASSERT_EQ(DWORD(ERROR_SUCCESS), temp.Write("abandoned"));
        EXPECT_EQ(1u, FilesIn(dir.path()));
        // Nobody else may open it meanwhile, not even to rename it.
        EXPECT_EQ(INVALID_HANDLE_VALUE,
                  CreateFileW(temp.path().c_str(), DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
    }
    EXPECT_EQ(0u, FilesIn(dir.path()));
}

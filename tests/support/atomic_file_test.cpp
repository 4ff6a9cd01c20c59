#include "support/atomic_file.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {
std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

size_t FilesIn(const std::wstring& folder)
{
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

TEST(ReplaceFileContents, CreatesAndReplacesWholeFilesWithoutLeftovers)
{
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

TEST(ReplaceFileContents, FailureKeepsTheOldFile)
{
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

#include "support/folders.h"
#include "support/program_files.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Restores the current directory when a test changed it.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::wstring& dir) {
        wchar_t old[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, old);
        m_old = old;
        SetCurrentDirectoryW(dir.c_str());
    }
    ~CurrentDirectoryScope() { SetCurrentDirectoryW(m_old.c_str()); }

private:
    std::wstring m_old;
};

wchar_t MissingDrive() {
    const DWORD drives = GetLogicalDrives();
    for (int i = 25; i >= 3; --i)
        if (!(drives & (1u << i)))
            return static_cast<wchar_t>(L'A' + i);
    return 0;
}

} // namespace

TEST(CreateFolderPath, CreatesEveryMissingParentWithOrWithoutTrailingSeparator) {
    TempDir temp;
    const std::wstring updates = temp.path() + L"\\ORMEX\\updates\\tavolex\\";
    EXPECT_TRUE(CreateFolderPath(updates));
    EXPECT_TRUE(IsFolder(temp.path() + L"\\ORMEX"));
    EXPECT_TRUE(IsFolder(temp.path() + L"\\ORMEX\\updates"));
    EXPECT_TRUE(IsFolder(temp.path() + L"\\ORMEX\\updates\\tavolex"));

    const std::wstring logs = temp.path() + L"\\ORMEX\\Logs";
    EXPECT_TRUE(CreateFolderPath(logs));
    EXPECT_TRUE(IsFolder(logs));

    // Existing folders: true, and nothing changes.
    EXPECT_TRUE(CreateFolderPath(logs));
    EXPECT_TRUE(CreateFolderPath(updates));
}

TEST(CreateFolderPath, MixedAndForwardSeparators) {
    TempDir temp;
    EXPECT_TRUE(CreateFolderPath(temp.path() + L"\\A/B\\C/"));
    EXPECT_TRUE(IsFolder(temp.path() + L"\\A\\B\\C"));
    EXPECT_TRUE(CreateFolderPath(temp.path() + L"/D/E"));
    EXPECT_TRUE(IsFolder(temp.path() + L"\\D\\E"));
}

TEST(CreateFolderPath, ExistingFileCountsAsSuccessAndIsLeftAlone) {
    TempDir temp;
    const std::wstring file = temp.Write(L"Tavolex", "keep");
    EXPECT_TRUE(CreateFolderPath(file));
    EXPECT_FALSE(IsFolder(file));
    // A folder below a file cannot be made.
    EXPECT_FALSE(CreateFolderPath(file + L"\\Logs"));
}

TEST(CreateFolderPath, RelativePathsJoinTheCurrentDirectory) {
    TempDir temp;
    CurrentDirectoryScope cwd(temp.path());
    EXPECT_TRUE(CreateFolderPath(L"logs"));
    EXPECT_TRUE(IsFolder(temp.path() + L"\\logs"));
    EXPECT_TRUE(CreateFolderPath(L"a\\b/c"));
    EXPECT_TRUE(IsFolder(temp.path() + L"\\a\\b\\c"));
}

TEST(CreateFolderPath, DriveRelativeAndMissingDriveFail) {
    TempDir temp;
    CurrentDirectoryScope cwd(temp.path());
    // C:A has a drive letter but no separator: refused, nothing created.
    EXPECT_FALSE(CreateFolderPath(L"C:TvxDriveRelative"));
    EXPECT_FALSE(Exists(temp.path() + L"\\TvxDriveRelative"));
    EXPECT_FALSE(Exists(L"C:\\TvxDriveRelative"));

    const wchar_t drive = MissingDrive();
    ASSERT_NE(0, drive);
    const std::wstring missing = std::wstring(1, drive) + L":\\ORMEX\\Logs";
    EXPECT_FALSE(CreateFolderPath(missing));
    EXPECT_FALSE(CreateFolderPath(std::wstring(1, drive) + L":\\"));
}

TEST(CreateFolderPath, OverlongPathsAreRefusedWithoutPartialWork) {
    TempDir temp;
    std::wstring path = temp.path() + L"\\long";
    while (path.size() <= kMaxFolderPath)
        path += L"\\abcdefghij";
    EXPECT_FALSE(CreateFolderPath(path));
    EXPECT_FALSE(Exists(temp.path() + L"\\long"));

    // A relative path that only grows too long once joined.
    CurrentDirectoryScope cwd(temp.path());
    std::wstring relative = L"rel";
    while (temp.path().size() + 1 + relative.size() <= kMaxFolderPath)
        relative += L"\\abcdefghij";
    EXPECT_FALSE(CreateFolderPath(relative));
    EXPECT_FALSE(Exists(temp.path() + L"\\rel"));
}

// The last configuration fallback lies in the temporary folder; a TEMP too
// long for Windows' answer names none, rather than the current drive's root.
TEST(TemporaryFolder, AFullFolderOrNone) {
    wchar_t saved[MAX_PATH + 2] = {};
    const DWORD had = GetEnvironmentVariableW(L"TMP", saved, MAX_PATH + 2);
    const std::wstring normal = TemporaryFolder();
    ASSERT_FALSE(normal.empty());
    EXPECT_EQ(L'\\', normal.back());
    EXPECT_EQ(L':', normal[1]);
    SetEnvironmentVariableW(L"TMP", (L"C:\\" + std::wstring(2 * kMaxFolderPath, L'a')).c_str());
    EXPECT_EQ(L"", TemporaryFolder());
    SetEnvironmentVariableW(L"TMP", had > 0 && had < MAX_PATH + 2 ? saved : nullptr);
    EXPECT_EQ(normal, TemporaryFolder());
}

#include "support/guarded_path.h"
#include "support/long_path.h"
#include "support/temp_name.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Folders = std::vector<std::wstring>;

GuardedPath Under(const std::wstring& root, const std::wstring& path) {
    GuardedPath guarded;
    EXPECT_TRUE(GuardedPathUnder(root, path, guarded)) << std::string(path.begin(), path.end());
    return guarded;
}

bool IsUnder(const std::wstring& root, const std::wstring& path) {
    GuardedPath ignored;
    return GuardedPathUnder(root, path, ignored);
}

} // namespace

TEST(GuardedPath, SplitsAPathBelowTheRootIntoFoldersAndFile) {
    const GuardedPath config =
        Under(L"C:\\ProgramData", L"C:\\ProgramData\\ORMEX\\updates\\tavolex\\checkerconfig.json");
    EXPECT_EQ(L"C:\\ProgramData", config.root);
    EXPECT_EQ((Folders{L"ORMEX", L"updates", L"tavolex"}), config.folders);
    EXPECT_EQ(L"checkerconfig.json", config.file);
    EXPECT_EQ(L"C:\\ProgramData", config.FolderAt(0));
    EXPECT_EQ(L"C:\\ProgramData\\ORMEX\\updates", config.FolderAt(2));
    EXPECT_EQ(L"C:\\ProgramData\\ORMEX\\updates\\tavolex\\checkerconfig.json", config.Full());

    // Case and separators of the root do not matter; the path's own spelling
    // is kept for the components.
    const GuardedPath log = Under(L"c:/programdata/", L"C:\\ProgramData/ORMEX/Logs\\Tavolex.log");
    EXPECT_EQ((Folders{L"ORMEX", L"Logs"}), log.folders);
    EXPECT_EQ(L"c:\\programdata\\ORMEX\\Logs\\Tavolex.log", log.Full());
}

TEST(GuardedPath, RefusesPathsThatAreNotStrictlyBelowTheRoot) {
    EXPECT_FALSE(IsUnder(L"C:\\ProgramData", L"C:\\ProgramData"));
    EXPECT_FALSE(IsUnder(L"C:\\ProgramData", L"C:\\ProgramData\\"));
    EXPECT_FALSE(IsUnder(L"C:\\ProgramData", L"C:\\ProgramDataX\\ORMEX\\a.json"));
    EXPECT_FALSE(IsUnder(L"C:\\ProgramData", L"D:\\ProgramData\\a.json"));
    EXPECT_FALSE(IsUnder(L"", L"C:\\a.json"));
    // Components that could lead elsewhere than they spell.
    EXPECT_FALSE(IsUnder(L"C:\\ProgramData", L"C:\\ProgramData\\ORMEX\\..\\..\\Windows\\a.ini"));
    EXPECT_FALSE(IsUnder(L"C:\\ProgramData", L"C:\\ProgramData\\.\\a.json"));
    EXPECT_FALSE(IsUnder(L"C:\\ProgramData", L"C:\\ProgramData\\ORMEX\\\\a.json"));
    EXPECT_FALSE(IsUnder(L"C:\\ProgramData", L"C:\\ProgramData\\ORMEX\\"));
}

// A report's path is checked from its volume's root: a drive or a share.
TEST(GuardedPath, FromTheVolumeRootOfDrivesAndShares) {
    const struct {
        const wchar_t* path;
        const wchar_t* root; // nullptr: refused
        size_t folders;
    } cases[] = {
        {L"C:\\out\\sub\\report.json", L"C:", 2},
        {L"\\\\?\\C:\\out\\report.json", L"C:", 1},
        {L"c:/report.json", L"c:", 0},
        {L"\\\\server\\share\\out\\report.json", L"\\\\server\\share", 1},
        {L"\\\\?\\UNC\\server\\share\\report.json", L"\\\\server\\share", 0},
        {L"\\\\.\\C:\\report.json", nullptr, 0},
        {L"\\\\?\\GLOBALROOT\\Device\\x\\report.json", nullptr, 0},
        {L"\\\\server\\share", nullptr, 0},
        {L"\\\\server\\\\report.json", nullptr, 0},
        {L"C:report.json", nullptr, 0},
        {L"out\\report.json", nullptr, 0},
        {L"C:\\out\\..\\report.json", nullptr, 0},
    };
    for (const auto& c : cases) {
        GuardedPath out;
        const bool split = GuardedPathFromVolumeRoot(c.path, out);
        EXPECT_EQ(c.root != nullptr, split) << std::wstring(c.path).size();
        if (c.root != nullptr && split) {
            EXPECT_EQ(c.root, out.root);
            EXPECT_EQ(c.folders, out.folders.size());
            EXPECT_EQ(L"report.json", out.file);
        }
    }
}

TEST(GuardedPath, ABareDriveRootNeverNamesTheDrivesCurrentDirectory) {
    const GuardedPath atRoot = Under(L"C:", L"C:\\report.json");
    EXPECT_EQ(L"C:\\", atRoot.FolderAt(0));
    EXPECT_EQ(L"C:\\report.json", atRoot.Full());
    EXPECT_EQ(L"C:\\a\\b.json", Under(L"C:\\", L"C:\\a\\b.json").Full());
}

TEST(GuardedPath, FinalPathsMatchOnlyTheSamePath) {
    EXPECT_TRUE(
        SameFinalPath(L"C:\\ProgramData\\ORMEX\\Logs", L"\\\\?\\C:\\ProgramData\\ORMEX\\Logs"));
    EXPECT_TRUE(
        SameFinalPath(L"c:\\programdata\\ormex\\logs\\", L"\\\\?\\C:\\ProgramData\\ORMEX\\Logs"));
    EXPECT_TRUE(SameFinalPath(L"\\\\server\\share\\ORMEX", L"\\\\?\\UNC\\server\\share\\ORMEX"));
    EXPECT_TRUE(SameFinalPath(L"\\\\?\\C:\\Long\\Path", L"\\\\?\\C:\\Long\\Path"));
    // Through a link the handle ends in the link's target.
    EXPECT_FALSE(
        SameFinalPath(L"C:\\ProgramData\\ORMEX\\Logs", L"\\\\?\\C:\\Users\\Public\\Planted"));
    EXPECT_FALSE(SameFinalPath(L"C:\\ProgramData\\ORMEX\\Logs", L"\\\\?\\C:\\ProgramData\\ORMEX"));
    EXPECT_FALSE(SameFinalPath(L"C:\\PROGRA~3\\ORMEX", L"\\\\?\\C:\\ProgramData\\ORMEX"));
    // Non-ASCII letters are compared as they are.
    EXPECT_FALSE(SameFinalPath(L"C:\\\u00C9t\u00E9", L"\\\\?\\C:\\\u00E9t\u00E9"));
    EXPECT_FALSE(SameFinalPath(L"C:\\x", L""));
    EXPECT_FALSE(SameFinalPath(L"", L""));
}

TEST(GuardedPath, EachFactAloneRefusesTheObject) {
    ObjectFacts folder;
    folder.opened = true;
    folder.directory = true;
    folder.links = 1;
    folder.whereExpected = true;
    EXPECT_TRUE(FolderMayBeUsed(folder));

    ObjectFacts file = folder;
    file.directory = false;
    EXPECT_TRUE(FileMayBeUsed(file));
    EXPECT_FALSE(FolderMayBeUsed(file)) << "a file where a folder belongs";
    EXPECT_FALSE(FileMayBeUsed(folder)) << "a folder where the file belongs";

    const struct {
        const char* what;
        void (*change)(ObjectFacts&);
    } changes[] = {
        {"not opened", [](ObjectFacts& f) { f.opened = false; }},
        {"a junction or symbolic link", [](ObjectFacts& f) { f.reparsePoint = true; }},
        {"somewhere else", [](ObjectFacts& f) { f.whereExpected = false; }},
    };
    for (const auto& c : changes) {
        ObjectFacts badFolder = folder;
        ObjectFacts badFile = file;
        c.change(badFolder);
        c.change(badFile);
        EXPECT_FALSE(FolderMayBeUsed(badFolder)) << c.what;
        EXPECT_FALSE(FileMayBeUsed(badFile)) << c.what;
    }
    // A second name for the file: a hard link somebody made to a file of his
    // choice. Folders may have any count.
    for (unsigned long links : {0ul, 2ul, 7ul}) {
        file.links = links;
        EXPECT_FALSE(FileMayBeUsed(file)) << links;
        folder.links = links;
        EXPECT_TRUE(FolderMayBeUsed(folder)) << links;
    }
}

TEST(LongPath, OnlyPathsOverTheClassicLimitGetTheLongForm) {
    const std::wstring deep = L"C:\\" + std::wstring(kClassicPathChars, L'a') + L"\\x.exe";
    EXPECT_EQ(L"\\\\?\\" + deep, ExtendedLengthPath(deep));
    const std::wstring unc = L"\\\\server\\share\\" + std::wstring(kClassicPathChars, L'b');
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\" + std::wstring(kClassicPathChars, L'b'),
              ExtendedLengthPath(unc));
    // Already long, short, or relative: unchanged (a relative one must not
    // be resolved against anything here).
    EXPECT_EQ(L"\\\\?\\" + deep, ExtendedLengthPath(L"\\\\?\\" + deep));
    EXPECT_EQ(L"C:\\short\\x.exe", ExtendedLengthPath(L"C:\\short\\x.exe"));
    const std::wstring relative = std::wstring(kClassicPathChars, L'r') + L"\\x.exe";
    EXPECT_EQ(relative, ExtendedLengthPath(relative));
    const std::wstring driveRelative = L"C:" + std::wstring(kClassicPathChars, L'r');
    EXPECT_EQ(driveRelative, ExtendedLengthPath(driveRelative));
    EXPECT_EQ(L"", ExtendedLengthPath(L""));
    // One below the limit stays, the limit itself does not.
    const std::wstring below = L"C:\\" + std::wstring(kClassicPathChars - 4, L'z');
    EXPECT_EQ(below, ExtendedLengthPath(below));
    EXPECT_EQ(L"\\\\?\\" + below + L"z", ExtendedLengthPath(below + L"z"));
}

TEST(TempName, RandomBytesAsHexBesideTheTarget) {
    uint8_t random[kTempNameRandomBytes] = {0x00, 0x01, 0x7f, 0x80, 0xab, 0xcd, 0xef, 0xff,
                                            0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x90};
    EXPECT_EQ(L"C:\\d\\checkerconfig.json.00017f80abcdefff1020304050607090.tmp",
              TempNameFor(L"C:\\d\\checkerconfig.json", random));
    // Every random bit shows in the name: no two byte strings share one.
    std::set<std::wstring> names;
    for (int byte = 0; byte < 256; ++byte) {
        random[kTempNameRandomBytes - 1] = static_cast<uint8_t>(byte);
        names.insert(TempNameFor(L"r.json", random));
    }
    EXPECT_EQ(256u, names.size());
}

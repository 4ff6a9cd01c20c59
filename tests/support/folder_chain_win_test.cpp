// Writes and reads of the program's own files for an elevated process, with
// links planted where its folders and files belong. What a link points at
// lies in the test's "elsewhere" folder, which must come out untouched.
#include "support/folder_chain.h"
#include "support/guarded_file.h"
#include "tests/win/links.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Skips the test (not only the helper) when no link can be made.
#define PLANT_OR_SKIP(target, link, folder)                                                        \
    if (!Plant(target, link, folder))                                                              \
    GTEST_SKIP() << "this system lets the test make no link"

namespace {

const std::string kVictim = "a file somebody else chose\r\n";
const std::string kOld = "{\"body\":{\"OS\":[\"OLD\"]}}";
const std::string kNew = "{\"body\":{\"OS\":[\"NEW\"]}}";

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadThrough(const HandleOwner& file) {
    std::string bytes;
    SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

class GuardedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(root.c_str(), nullptr);
        CreateDirectoryW(elsewhere.c_str(), nullptr);
        dir.Write(L"elsewhere\\victim.txt", kVictim);
        dir.Write(L"elsewhere\\checkerconfig.json", kOld);
        dir.Write(L"elsewhere\\Tavolex.log", kVictim);
        before = TreeOf(elsewhere);
    }

    // Links go before the folder is removed, which would follow them.
    void TearDown() override {
        for (const auto& link : planted)
            RemoveLink(link.first, link.second);
    }

    bool Plant(const std::wstring& target, const std::wstring& link, bool folder) {
        planted.emplace_back(link, folder);
        return PlantLink(target, link, folder);
    }

    void Unplant(const std::wstring& link, bool folder) {
        RemoveLink(link, folder);
        planted.pop_back();
    }

    // Makes the folders of `path` down to `depth` components (real ones).
    void MakeFolders(const GuardedPath& path, size_t depth) const {
        for (size_t i = 1; i <= depth; ++i)
            CreateDirectoryW(path.FolderAt(i).c_str(), nullptr);
    }

    // Every way the program touches the file, none of which may succeed.
    void ExpectEveryUseRefused(const GuardedPath& path) {
        EXPECT_EQ(DWORD(ERROR_CANT_ACCESS_FILE), ReplaceGuardedFile(path, kNew));
        EXPECT_FALSE(OpenGuardedForAppend(path));
        std::string bytes = "untouched";
        EXPECT_FALSE(ReadGuardedFile(path, bytes, 1024));
        EXPECT_EQ(before, TreeOf(elsewhere)) << "the link's target changed";
    }

    TempDir dir;
    const std::wstring root = dir.File(L"data");
    const std::wstring elsewhere = dir.File(L"elsewhere");
    const GuardedPath log{root, {L"ORMEX", L"Logs"}, L"Tavolex.log"};
    const GuardedPath config{root, {L"ORMEX", L"updates", L"tavolex"}, L"checkerconfig.json"};
    std::map<std::wstring, std::string> before;
    std::vector<std::pair<std::wstring, bool>> planted;
};

} // namespace

TEST_F(GuardedFiles, AClearChainIsCreatedWrittenAndReadBack) {
    ASSERT_EQ(DWORD(ERROR_SUCCESS), ReplaceGuardedFile(config, kOld));
    EXPECT_TRUE(IsFolder(config.Folder()));
    ASSERT_EQ(DWORD(ERROR_SUCCESS), ReplaceGuardedFile(config, kNew));
    std::string bytes;
    EXPECT_TRUE(ReadGuardedFile(config, bytes, 1024));
    EXPECT_EQ(kNew, bytes);
    EXPECT_FALSE(ReadGuardedFile(config, bytes, kNew.size() - 1)) << "over the size limit";
    // Only the file: every temporary file went.
    const std::map<std::wstring, std::string> expected = {{L"checkerconfig.json", kNew}};
    EXPECT_EQ(expected, TreeOf(config.Folder()));

    // The log: created when missing, then appended to through one handle.
    for (const char* line : {"first\r\n", "second\r\n"}) {
        const HandleOwner file = OpenGuardedForAppend(log);
        ASSERT_TRUE(file);
        SetFilePointer(file.get(), 0, nullptr, FILE_END);
        DWORD written = 0;
        ASSERT_TRUE(
            WriteFile(file.get(), line, static_cast<DWORD>(strlen(line)), &written, nullptr));
    }
    std::string logBytes;
    EXPECT_TRUE(ReadGuardedFile(log, logBytes, 1024));
    EXPECT_EQ("first\r\nsecond\r\n", logBytes);
    EXPECT_EQ(before, TreeOf(elsewhere));
}

// Two runs at once: the one that made the log must not keep the other out.
TEST_F(GuardedFiles, TwoRunsShareTheLogTheFirstOneMade) {
    const HandleOwner first = OpenGuardedForAppend(log);
    ASSERT_TRUE(first);
    const HandleOwner second = OpenGuardedForAppend(log);
    EXPECT_TRUE(second);
}

TEST_F(GuardedFiles, ALinkInPlaceOfAnyFolderStopsEveryUse) {
    // ORMEX itself, then ORMEX\updates, then ORMEX\updates\tavolex.
    for (size_t depth = 1; depth <= config.folders.size(); ++depth) {
        SCOPED_TRACE(depth);
        MakeFolders(config, depth - 1);
        PLANT_OR_SKIP(elsewhere, config.FolderAt(depth), true);
        ExpectEveryUseRefused(config);
        // The chain is refused before anything is created through the link.
        EXPECT_FALSE(IsFolder(elsewhere + L"\\updates"));
        EXPECT_FALSE(IsFolder(elsewhere + L"\\tavolex"));
        Unplant(config.FolderAt(depth), true);
        ASSERT_EQ(before, TreeOf(elsewhere));
    }
    // The log's folder as a link.
    MakeFolders(log, 1);
    PLANT_OR_SKIP(elsewhere, log.FolderAt(2), true);
    ExpectEveryUseRefused(log);
}

TEST_F(GuardedFiles, ALinkAsTheTrustedFolderItselfStopsEveryUse) {
    const std::wstring linkedRoot = dir.File(L"linked-data");
    PLANT_OR_SKIP(elsewhere, linkedRoot, true);
    ExpectEveryUseRefused(GuardedPath{linkedRoot, {}, L"checkerconfig.json"});
    ExpectEveryUseRefused(GuardedPath{linkedRoot, {L"ORMEX"}, L"Tavolex.log"});
}

TEST_F(GuardedFiles, AFileWhereAFolderBelongsStopsEveryUse) {
    MakeFolders(log, 1);
    dir.Write(L"data\\ORMEX\\Logs", "not a folder\r\n");
    ExpectEveryUseRefused(log);
    EXPECT_EQ("not a folder\r\n", TreeOf(log.FolderAt(1))[L"Logs"]);
}

TEST_F(GuardedFiles, LinksWhereTheFileBelongsAreNeitherWrittenNorRead) {
    MakeFolders(config, config.folders.size());
    const std::wstring file = config.Full();
    const struct {
        const char* kind;
        std::wstring target;
        bool hard;
    } links[] = {
        {"symbolic link", elsewhere + L"\\checkerconfig.json", false},
        {"dangling symbolic link", elsewhere + L"\\created-through-the-link.json", false},
        {"hard link", elsewhere + L"\\checkerconfig.json", true},
    };
    for (const auto& link : links) {
        SCOPED_TRACE(link.kind);
        if (link.hard) {
            ASSERT_TRUE(CreateHardLinkW(file.c_str(), link.target.c_str(), nullptr));
        } else {
            PLANT_OR_SKIP(link.target, file, false);
        }
        ExpectEveryUseRefused(config);
        if (link.hard)
            DeleteFileW(file.c_str()); // this name only
        else
            Unplant(file, false);
        ASSERT_EQ(before, TreeOf(elsewhere));
    }
    // The same for the log, which is appended to in place.
    MakeFolders(log, log.folders.size());
    ASSERT_TRUE(
        CreateHardLinkW(log.Full().c_str(), (elsewhere + L"\\Tavolex.log").c_str(), nullptr));
    ExpectEveryUseRefused(log);
}

TEST_F(GuardedFiles, OpenFileChecksWhatItCreates) {
    FolderChain chain;
    ASSERT_TRUE(chain.Open(log, true));
    HandleOwner made = chain.OpenFile(L"new.txt", GENERIC_READ | GENERIC_WRITE, 0, FileOpen::New);
    ASSERT_TRUE(made);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(made.get(), "x", 1, &written, nullptr));
    EXPECT_EQ("x", ReadThrough(made));
    made.reset();
    // New never opens what exists; Existing never creates.
    EXPECT_FALSE(chain.OpenFile(L"new.txt", GENERIC_READ, 0, FileOpen::New));
    EXPECT_EQ(DWORD(ERROR_FILE_EXISTS), GetLastError());
    EXPECT_FALSE(chain.OpenFile(L"absent.txt", GENERIC_READ, 0, FileOpen::Existing));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(chain.PathOf(L"absent.txt").c_str()));
    // Without creation a missing folder fails the chain.
    FolderChain missing;
    EXPECT_FALSE(missing.Open(config, false));
    EXPECT_FALSE(IsFolder(config.FolderAt(2)));
}

// Held folders cannot be renamed or removed until the chain lets go. Wine
// does not apply sharing modes to folders, so only Windows shows it.
TEST_F(GuardedFiles, HeldFoldersCannotBeSwappedWhileTheChainIsOpen) {
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine does not enforce sharing on folders";
    FolderChain chain;
    ASSERT_TRUE(chain.Open(log, true));
    const std::wstring moved = dir.File(L"moved");
    EXPECT_FALSE(MoveFileW(log.FolderAt(2).c_str(), moved.c_str()));
    EXPECT_FALSE(MoveFileW(log.FolderAt(1).c_str(), moved.c_str()));
}

// Which registered paths name a drive by its letter, and which drive.
#include "probes/drive_root.h"

#include <gtest/gtest.h>

TEST(DriveRoot, OnlyPathsThatNameADriveLetterHaveARoot) {
    struct Case {
        const wchar_t* path;
        const wchar_t* root; // nullptr: not on a drive letter
    };
    const Case cases[] = {
        {L"C:\\Program Files (x86)\\Steam", L"C:\\"},
        {L"c:/program files (x86)/steam", L"c:\\"}, // as Steam writes it
        {L"D:\\", L"D:\\"},
        {L"\\\\?\\E:\\Games\\Steam", L"E:\\"},
        {L"\\\\server\\share\\Steam", nullptr},
        {L"//server/share/Steam", nullptr},
        {L"\\\\?\\UNC\\server\\share\\Steam", nullptr},
        {L"\\\\server@SSL\\DavWWWRoot\\Steam", nullptr},
        {L"\\\\.\\C:\\Steam", nullptr},
        {L"\\\\?\\Volume{00000000-0000-0000-0000-000000000000}\\Steam", nullptr},
        {L"//?/C:/Steam", nullptr}, // the long form is literal: backslashes only
        {L"\\\\?\\C:/Steam", nullptr},
        {L"\\Steam", nullptr}, // the current drive, whichever that is
        {L"Steam", nullptr},
        {L"C:Steam", nullptr}, // drive C's current folder
        {L"C:", nullptr},
        {L"1:\\Steam", nullptr},
        {L"", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::wstring> root = DriveLetterRoot(c.path);
        if (c.root == nullptr)
            EXPECT_FALSE(root) << testing::PrintToString(std::wstring(c.path));
        else
            EXPECT_EQ(std::optional<std::wstring>(c.root), root)
                << testing::PrintToString(std::wstring(c.path));
    }
}

#include "ui/skin_location.h"

#include "support/long_path.h"

#include <gtest/gtest.h>

TEST(SkinLocation, TheToolkitsFolderIsUsedWhenItHasOne) {
    const SkinLocation l =
        LocateSkin(L"C:\\Tavolex\\", L"C:\\Tavolex\\TavolexCheck.exe", L"skin_tavolex_en");
    EXPECT_EQ(L"skin_tavolex_en", l.folderText);
    EXPECT_FALSE(l.unknown);
}

TEST(SkinLocation, ALongExecutablePathGivesTheWholeFolderInLongForm) {
    // The toolkit reads at most 260 characters and leaves its folder empty
    // beyond: the skin must not then be looked for in the current directory.
    const std::wstring folder = L"C:\\Installer\\" + std::wstring(kClassicPathChars, L'x') + L"\\";
    const SkinLocation l = LocateSkin(L"", folder + L"TavolexCheck.exe", L"skin_tavolex_jp");
    EXPECT_EQ(L"\\\\?\\" + folder + L"skin_tavolex_jp", l.folderText);
    EXPECT_FALSE(l.unknown);
}

TEST(SkinLocation, NoExecutablePathMeansNoSkinAnywhere) {
    for (const wchar_t* module : {L"", L"TavolexCheck.exe", L"\\TavolexCheck.exe"}) {
        const SkinLocation l = LocateSkin(L"", module, L"skin_tavolex_en");
        EXPECT_TRUE(l.unknown);
        // Whatever the toolkit does with the text, it names no folder
        // relative to the current directory or drive.
        EXPECT_EQ(0u, l.folderText.rfind(L"\\\\?\\", 0));
    }
}

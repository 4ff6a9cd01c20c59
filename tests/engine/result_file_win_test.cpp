// The stored-result reader against real profile files.
#include "engine/check_report.h"
#include "engine/driver_check.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

namespace {
const wchar_t kFullFile[] = L"[result]\r\n"
                            L"os=Microsoft Windows 10 Pro (64 bit)\r\n"
                            L"cpu=Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\r\n"
                            L"memory=16GB\r\n"
                            L"gpu1=NVIDIA GeForce GTX 1060 6GB \r\n"
                            L"gpu2=Intel(R) UHD Graphics 630 \r\n"
                            L"dispdriver1=22.21.13.8205\r\n"
                            L"dispdriver2=26.20.100.6911\r\n"
                            L"cpu_game=2\r\ncpu_video=2\r\nmem_support=2\r\n"
                            L"gpu1_game=2\r\ngpu1_video=2\r\ngpu2_game=1\r\ngpu2_video=0\r\n"
                            L"os_support=2\r\nsteamvr=1\r\n";
} // namespace

TEST(ResultFile, ReadsEveryKeyAndRecomputesDriverFlags)
{
    TempDir dir;
    CCheckReport report;
    const int flags = report.ReadResultFile(dir.Write(L"result.tvxcfg", Utf16File(kFullFile)));
    EXPECT_EQ(L"Microsoft Windows 10 Pro (64 bit)", report.display_info.os);
    EXPECT_EQ(L"Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz", report.display_info.cpu);
    EXPECT_EQ(L"16GB", report.display_info.memory);
    // Values keep their trailing blank only if quoted; the profile API trims.
    EXPECT_EQ(L"NVIDIA GeForce GTX 1060 6GB", report.display_info.gpu[0]);
    EXPECT_EQ(L"Intel(R) UHD Graphics 630", report.display_info.gpu[1]);
    EXPECT_EQ(L"22.21.13.8205", report.display_info.dispdriver[0]);
    EXPECT_EQ(L"26.20.100.6911", report.display_info.dispdriver[1]);
    EXPECT_EQ(2, report.cpu_game);
    EXPECT_EQ(2, report.cpu_video);
    EXPECT_EQ(2, report.mem_support);
    EXPECT_EQ(2, report.gpu1_game);
    EXPECT_EQ(2, report.gpu1_video);
    EXPECT_EQ(1, report.gpu2_game);
    EXPECT_EQ(0, report.gpu2_video);
    EXPECT_EQ(2, report.os_support);
    EXPECT_EQ(1, report.steamvr);
    EXPECT_EQ(DRIVER_FLAG_GPU1_OUTDATED, flags);
    EXPECT_EQ(flags, report.driver_flags);
    // The file holds no overall verdicts and no adapter list.
    EXPECT_EQ(0, report.game_result);
    EXPECT_EQ(0, report.video_result);
    EXPECT_TRUE(report.adapter_names.empty());
    EXPECT_TRUE(report.match_info.cpu.empty());
}

TEST(ResultFile, MissingFileOrEmptySectionGivesAnEmptyReport)
{
    TempDir dir;
    for (const std::wstring& path :
         {dir.File(L"absent.tvxcfg"), dir.Write(L"empty.tvxcfg", "[result]\r\n"),
          dir.Write(L"other.tvxcfg", "[other]\r\ncpu_game=2\r\nos=x\r\n")}) {
        CCheckReport report;
        report.driver_flags = 3; // recomputed, never kept
        EXPECT_EQ(0, report.ReadResultFile(path));
        EXPECT_EQ(0, report.driver_flags);
        EXPECT_TRUE(report.display_info.os.empty());
        EXPECT_TRUE(report.display_info.gpu[1].empty());
        EXPECT_EQ(0, report.cpu_game);
        EXPECT_EQ(0, report.steamvr);
    }
}

TEST(ResultFile, IntegersAreReadAsTheProfileApiReadsThem)
{
    TempDir dir;
    CCheckReport report;
    report.ReadResultFile(dir.Write(L"r.tvxcfg", "[result]\r\ncpu_game=abc\r\ncpu_video=7x\r\n"
                                                 "mem_support=-7\r\ngpu1_game=42\r\n"));
    EXPECT_EQ(0, report.cpu_game);
    EXPECT_EQ(7, report.cpu_video);
    EXPECT_EQ(-7, report.mem_support); // outside 0..2 stays as read
    EXPECT_EQ(42, report.gpu1_game);
}

TEST(ResultFile, LongTextsAreCutTo1023Characters)
{
    TempDir dir;
    const std::wstring longName(2000, L'N');
    CCheckReport report;
    report.ReadResultFile(
        dir.Write(L"r.tvxcfg", Utf16File(L"[result]\r\ncpu=" + longName + L"\r\nos=after\r\n")));
    EXPECT_EQ(std::wstring(1023, L'N'), report.display_info.cpu);
    // The next read starts clean.
    EXPECT_EQ(L"after", report.display_info.os);
}

TEST(ResultFile, NonAsciiTextsSurviveInUtf16AndAnsiFiles)
{
    TempDir dir;
    // UTF-16 keeps any script.
    CCheckReport unicode;
    unicode.ReadResultFile(dir.Write(
        L"u.tvxcfg", Utf16File(L"[result]\r\ngpu1=\x82F1\x4F1F\x8FBE GeForce\r\nos=\x30A6\x30A3\x30F3\r\n")));
    EXPECT_EQ(L"\x82F1\x4F1F\x8FBE GeForce", unicode.display_info.gpu[0]);
    EXPECT_EQ(L"\x30A6\x30A3\x30F3", unicode.display_info.os);

    // An ANSI file is read in the system's ANSI code page; its ASCII survives
    // whatever that is, and a Latin-1 letter survives the Western code page.
    CCheckReport ansi;
    ansi.ReadResultFile(dir.Write(L"a.tvxcfg", "[result]\r\ncpu=Caf\xE9 CPU\r\n"));
    if (GetACP() == 1252)
        EXPECT_EQ(L"Caf\x00E9 CPU", ansi.display_info.cpu);
    else
        EXPECT_EQ(L"Caf", ansi.display_info.cpu.substr(0, 3));
}

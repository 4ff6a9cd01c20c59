// A stored-result report written by report mode and read back by setup mode's
// reader through the real profile API: what an installer gets when it lets
// the program make the file that setup mode later shows.
#include "app/report_format.h"
#include "engine/check_report.h"
#include "engine/driver_check.h"
#include "support/guarded_file.h"
#include "tests/win/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CCheckReport Checked() {
    CCheckReport r;
    r.display_info.os = L"Microsoft Windows 10 Pro(64)";
    // The processor brand string often starts with blanks; the probe's
    // adapter names always end in one.
    r.display_info.cpu = L"       Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz";
    r.display_info.memory = L"16GB";
    r.display_info.gpu[0] = L"NVIDIA GeForce GTX 1060 6GB ";
    // Non-ASCII, including a character outside the basic plane.
    r.display_info.gpu[1] = L"Radeon\u2122 \u30B0\u30E9\u30D5\u30A3\u30C3\u30AF\u30B9 "
                            L"\u00DCber\U0001F600 ";
    r.display_info.dispdriver[0] = L"22.21.13.8205";
    r.display_info.dispdriver[1] = L" 31.0.12027.9001 ";
    r.cpu_game = 2;
    r.cpu_video = 1;
    r.mem_support = 2;
    r.gpu1_game = 1;
    r.gpu1_video = 2;
    r.gpu2_game = 0;
    r.gpu2_video = 1;
    r.os_support = 0;
    r.steamvr = 2;
    return r;
}

void ExpectSameTextsAndVerdicts(const CCheckReport& want, const CCheckReport& got) {
    const SystemInfoText& w = want.display_info;
    const SystemInfoText& g = got.display_info;
    EXPECT_EQ(w.os, g.os);
    EXPECT_EQ(w.cpu, g.cpu);
    EXPECT_EQ(w.memory, g.memory);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w.gpu[i], g.gpu[i]) << i;
        EXPECT_EQ(w.dispdriver[i], g.dispdriver[i]) << i;
    }
    EXPECT_EQ(want.cpu_game, got.cpu_game);
    EXPECT_EQ(want.cpu_video, got.cpu_video);
    EXPECT_EQ(want.mem_support, got.mem_support);
    EXPECT_EQ(want.gpu1_game, got.gpu1_game);
    EXPECT_EQ(want.gpu1_video, got.gpu1_video);
    EXPECT_EQ(want.gpu2_game, got.gpu2_game);
    EXPECT_EQ(want.gpu2_video, got.gpu2_video);
    EXPECT_EQ(want.os_support, got.os_support);
    EXPECT_EQ(want.steamvr, got.steamvr);
}

// Writes the report the way report mode does and reads it back.
CCheckReport RoundTrip(const TempDir& dir, const CCheckReport& report) {
    const std::wstring path = dir.File(L"result.tvxcfg");
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              ReplaceFileContents(path, ToUtf16LeWithBom(ReportToStoredResult(report))));
    CCheckReport read;
    read.ReadResultFile(path);
    return read;
}

} // namespace

TEST(ReportModeStoredResult, ReadsBackTheSameTextsAndVerdicts) {
    TempDir dir;
    const CCheckReport report = Checked();
    const CCheckReport read = RoundTrip(dir, report);
    ExpectSameTextsAndVerdicts(report, read);
    // The driver flags are not stored; recomputed they agree with the check's.
    EXPECT_EQ(DRIVER_FLAG_GPU1_OUTDATED, read.driver_flags);
    EXPECT_EQ(ComputeDriverFlags(report.display_info), read.driver_flags);
}

TEST(ReportModeStoredResult, TextsThatLookLikeProfileSyntaxStayTexts) {
    TempDir dir;
    CCheckReport report = Checked();
    report.display_info.os = L"\"Quoted\" caption";
    report.display_info.cpu = L"x;y = [result] \"";
    report.display_info.memory = L"";
    report.display_info.gpu[1] = L"";
    report.display_info.dispdriver[1] = L"";
    ExpectSameTextsAndVerdicts(report, RoundTrip(dir, report));
}

TEST(ReportModeStoredResult, LineBreaksCannotAddOrOverrideKeys) {
    TempDir dir;
    CCheckReport report = Checked();
    report.steamvr = 1;
    report.display_info.gpu[0] = L"Evil GPU\r\nsteamvr=2\r\n[other]\r\n";
    const CCheckReport read = RoundTrip(dir, report);
    EXPECT_EQ(1, read.steamvr);
    // The breaks become blanks; the rest of the name and the later keys survive.
    EXPECT_EQ(L"Evil GPU  steamvr=2  [other]  ", read.display_info.gpu[0]);
    EXPECT_EQ(report.display_info.gpu[1], read.display_info.gpu[1]);
    EXPECT_EQ(report.os_support, read.os_support);
}

TEST(ReportModeStoredResult, ReplacingAnOlderFileLeavesNoTemporaryFile) {
    TempDir dir;
    dir.Write(L"result.tvxcfg", Utf16File(L"[result]\r\nsteamvr=1\r\ncpu_game=1\r\n"));
    const CCheckReport report = Checked();
    ExpectSameTextsAndVerdicts(report, RoundTrip(dir, report));
    EXPECT_EQ(std::vector<std::wstring>{L"result.tvxcfg"}, NamesIn(dir.path()));
}

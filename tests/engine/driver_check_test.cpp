#include "engine/check_report.h"
#include "engine/driver_check.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <climits>

TEST(NvidiaVersion, FollowsTheVendorNumberingRule) {
    EXPECT_EQ(39135, ToNvidiaVersion(L"23.21.13.9135"));
    EXPECT_EQ(38205, ToNvidiaVersion(L"22.21.13.8205"));
    EXPECT_EQ(28205, ToNvidiaVersion(L"22.21.12.8205"));
    // Only the last digit of the third part counts.
    EXPECT_EQ(39135, ToNvidiaVersion(L"23.21.23.9135"));
    EXPECT_EQ(41681, ToNvidiaVersion(L"23.21.14.1681"));
    // A leading zero in the fourth part is just a digit.
    EXPECT_EQ(40965, ToNvidiaVersion(L"25.21.14.0965"));
    // Two parts convert; a trailing point changes nothing.
    EXPECT_EQ(39135, ToNvidiaVersion(L"13.9135"));
    EXPECT_EQ(39135, ToNvidiaVersion(L"23.21.13.9135."));
}

TEST(NvidiaVersion, UnreadableTextsGiveZeroOrClampedNumbers) {
    EXPECT_EQ(0, ToNvidiaVersion(L""));
    EXPECT_EQ(0, ToNvidiaVersion(L"391"));
    EXPECT_EQ(0, ToNvidiaVersion(L"a.b"));
    // A negative third part keeps its sign through the remainder.
    EXPECT_EQ(-30000 + 5, ToNvidiaVersion(L"1.-13.5"));
    // Numbers beyond 32 bits clamp instead of overflowing.
    EXPECT_EQ(INT_MAX, ToNvidiaVersion(L"1.9.99999999999"));
    EXPECT_EQ(INT_MIN, ToNvidiaVersion(L"1.-9.-99999999999"));
}

TEST(NvidiaName, MatchesTheVendorInAnyCaseAndPosition) {
    EXPECT_TRUE(IsNvidiaName(L"NVIDIA GeForce GTX 1080 "));
    EXPECT_TRUE(IsNvidiaName(L"GeForce by nVidia"));
    EXPECT_FALSE(IsNvidiaName(L"AMD Radeon RX 580"));
    EXPECT_FALSE(IsNvidiaName(L""));
    // Only ASCII letters are folded: a full-width name is another vendor.
    EXPECT_FALSE(IsNvidiaName(L"\xFF4E\xFF56\xFF49\xFF44\xFF49\xFF41"));
}

TEST(DriverFlags, MarksOutdatedNvidiaDriversPerAdapter) {
    SystemInfoText info;
    info.gpu[0] = L"NVIDIA GeForce GTX 970 ";
    info.dispdriver[0] = L"23.21.13.9064"; // 390.64: the last outdated one
    EXPECT_EQ(DRIVER_FLAG_GPU1_OUTDATED, ComputeDriverFlags(info));
    info.dispdriver[0] = L"23.21.13.9065";
    EXPECT_EQ(0, ComputeDriverFlags(info));

    // The second slot is judged on its own name and driver.
    info.gpu[1] = L"nvidia quadro ";
    info.dispdriver[1] = L"22.21.13.8205";
    EXPECT_EQ(DRIVER_FLAG_GPU2_OUTDATED, ComputeDriverFlags(info));
    info.dispdriver[0] = L"22.21.13.8205";
    EXPECT_EQ(3, ComputeDriverFlags(info));
}

TEST(DriverFlags, NeverMarksOtherVendorsOrUnreadableVersions) {
    SystemInfoText info;
    EXPECT_EQ(0, ComputeDriverFlags(info));
    info.gpu[0] = L"AMD Radeon ";
    info.dispdriver[0] = L"22.21.13.8205";
    info.gpu[1] = L"NVIDIA GeForce ";
    info.dispdriver[1] = L""; // no version: 0 is not "outdated"
    EXPECT_EQ(0, ComputeDriverFlags(info));
    info.dispdriver[1] = L"1.-9.5000"; // negative numbers are not outdated either
    EXPECT_EQ(0, ComputeDriverFlags(info));
}

TEST(SplitString, KeepsInnerEmptyPiecesButNoTrailingOne) {
    std::vector<std::wstring> pieces{L"kept"};
    SplitString(L".a..b.", pieces, L".");
    EXPECT_EQ((std::vector<std::wstring>{L"kept", L"", L"a", L"", L"b"}), pieces);

    pieces.clear();
    SplitString(L"one::two", pieces, L"::");
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), pieces);

    pieces.clear();
    SplitString(L"", pieces, L".");
    EXPECT_TRUE(pieces.empty());
}

TEST(CheckReport, StartsEmptyWithTheGivenConfigurationPath) {
    CCheckReport report(L"C:\\cfg.json");
    EXPECT_EQ(L"C:\\cfg.json", report.config_path);
    EXPECT_EQ(VERDICT_UNDECIDED, report.steamvr);
    EXPECT_EQ(VERDICT_UNDECIDED, report.game_result);
    EXPECT_EQ(0, report.driver_flags);
    EXPECT_TRUE(report.adapter_names.empty());
    EXPECT_TRUE(CCheckReport().config_path.empty());
}

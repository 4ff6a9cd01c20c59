// The graphics adapter slot rules, with made-up WMI rows.
#include "engine/video_record.h"

#include <gtest/gtest.h>

namespace {
VideoControllerRow Row(std::optional<std::wstring> description,
                       std::optional<std::wstring> driver) {
    VideoControllerRow row;
    row.description = std::move(description);
    row.driverVersion = std::move(driver);
    return row;
}
} // namespace

TEST(VideoRecord, OneAdapterFillsSlotOneWithTrailingBlankAndUpperCopy) {
    CCheckReport report;
    RecordVideoControllers(report, {Row(L"NVIDIA GeForce GTX 1060 6GB", L"23.21.13.9135")});
    EXPECT_EQ(L"NVIDIA GeForce GTX 1060 6GB ", report.display_info.gpu[0]);
    EXPECT_EQ(L"NVIDIA GEFORCE GTX 1060 6GB ", report.match_info.gpu[0]);
    EXPECT_EQ(L"23.21.13.9135", report.display_info.dispdriver[0]);
    ASSERT_EQ(1u, report.adapter_names.size());
    EXPECT_EQ(report.match_info.gpu[0], report.adapter_names[0]);
    EXPECT_TRUE(report.display_info.gpu[1].empty());
    EXPECT_TRUE(report.match_info.gpu[1].empty());
    EXPECT_TRUE(report.display_info.dispdriver[1].empty());
}

TEST(VideoRecord, OnlyTheFirstTwoOfThreeControllersAreRecorded) {
    CCheckReport report;
    RecordVideoControllers(report, {Row(L"Intel(R) UHD Graphics 630", L"26.20.100.6911"),
                                    Row(L"Radeon RX 580", L"25.20.15002.58"),
                                    Row(L"Third Adapter", L"1.0")});
    EXPECT_EQ(L"Intel(R) UHD Graphics 630 ", report.display_info.gpu[0]);
    EXPECT_EQ(L"Radeon RX 580 ", report.display_info.gpu[1]);
    EXPECT_EQ(L"RADEON RX 580 ", report.match_info.gpu[1]);
    EXPECT_EQ(L"25.20.15002.58", report.display_info.dispdriver[1]);
    EXPECT_EQ((NameList{L"INTEL(R) UHD GRAPHICS 630 ", L"RADEON RX 580 "}), report.adapter_names);
}

TEST(VideoRecord, ControllerWithoutDescriptionKeepsItsSlotAndDriver) {
    CCheckReport report;
    RecordVideoControllers(
        report, {Row(std::nullopt, L"10.0.1"), Row(L"GeForce RTX 2070", L"27.21.14.5671")});
    EXPECT_TRUE(report.display_info.gpu[0].empty());
    EXPECT_TRUE(report.match_info.gpu[0].empty());
    EXPECT_EQ(L"10.0.1", report.display_info.dispdriver[0]);
    EXPECT_EQ(L"GeForce RTX 2070 ", report.display_info.gpu[1]);
    EXPECT_EQ(L"27.21.14.5671", report.display_info.dispdriver[1]);
    // One name only, so the rules see no second adapter by count.
    EXPECT_EQ(NameList{L"GEFORCE RTX 2070 "}, report.adapter_names);

    // A missing driver version leaves only that text empty.
    CCheckReport noDriver;
    RecordVideoControllers(noDriver, {Row(L"Basic Display", std::nullopt)});
    EXPECT_EQ(L"Basic Display ", noDriver.display_info.gpu[0]);
    EXPECT_TRUE(noDriver.display_info.dispdriver[0].empty());
}

TEST(VideoRecord, NonAsciiLettersStayAsTheyAreInTheMatchName) {
    CCheckReport report;
    // e-acute, dotless i, full-width "gpu" and CJK characters.
    RecordVideoControllers(report,
                           {Row(L"Caf\x00E9 \x0131gpu \xFF47\xFF50\xFF55 \x663E\x5361", L"1")});
    EXPECT_EQ(L"Caf\x00E9 \x0131gpu \xFF47\xFF50\xFF55 \x663E\x5361 ", report.display_info.gpu[0]);
    EXPECT_EQ(L"CAF\x00E9 \x0131GPU \xFF47\xFF50\xFF55 \x663E\x5361 ", report.match_info.gpu[0]);
    EXPECT_EQ(report.match_info.gpu[0], report.adapter_names.at(0));
}

TEST(VideoRecord, NoControllersOrSlotsOutOfRangeRecordNothing) {
    CCheckReport report;
    RecordVideoControllers(report, {});
    RecordVideoController(report, 2, Row(L"X", L"1"));
    RecordVideoController(report, -1, Row(L"X", L"1"));
    EXPECT_TRUE(report.adapter_names.empty());
    for (int slot = 0; slot < kAdapterSlots; ++slot) {
        EXPECT_TRUE(report.display_info.gpu[slot].empty());
        EXPECT_TRUE(report.display_info.dispdriver[slot].empty());
    }
}

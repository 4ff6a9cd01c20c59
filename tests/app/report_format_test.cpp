#include "app/report_format.h"

#include "support/text.h"

#include <gtest/gtest.h>
#include <json/json.h>

namespace {
CCheckReport SampleReport() {
    CCheckReport report;
    report.cpu_game = 2;
    report.cpu_video = 2;
    report.gpu1_game = 1;
    report.gpu1_video = 2;
    report.gpu2_game = 0;
    report.gpu2_video = 0;
    report.mem_support = 2;
    report.os_support = 2;
    report.game_result = 1;
    report.video_result = 2;
    report.steamvr = 1;
    report.driver_flags = 1;
    report.adapter_names = {L"NVIDIA GEFORCE GTX 970 ", L"\x82F1\x4F1F\x8FBE GPU "};
    report.display_info.os = L"Microsoft Windows 10 Pro (64 bit)";
    report.display_info.cpu = L"Intel(R) Core(TM) i5-4590 CPU @ 3.30GHz";
    report.display_info.memory = L"8GB";
    report.display_info.gpu[0] = L"NVIDIA GeForce GTX 970 ";
    report.display_info.gpu[1] = L"\x82F1\x4F1F\x8FBE GPU ";
    report.display_info.dispdriver[0] = L"23.21.13.8813";
    report.match_info.cpu = L"INTEL(R) CORE(TM) I5-4590 CPU @ 3.30GHZ";
    report.match_info.gpu[0] = L"NVIDIA GEFORCE GTX 970 ";
    return report;
}

Json::Value Parse(const std::string& text) {
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &root, &errors)) << errors;
    return root;
}
} // namespace

TEST(ReportFormat, ExtensionChoosesTheFormat) {
    EXPECT_EQ(ReportFormat::StoredResult, ReportFormatForPath(L"C:\\out\\result.tvxcfg"));
    EXPECT_EQ(ReportFormat::StoredResult, ReportFormatForPath(L"r.TvxCfg"));
    EXPECT_EQ(ReportFormat::Json, ReportFormatForPath(L"r.json"));
    EXPECT_EQ(ReportFormat::Json, ReportFormatForPath(L"r.txt"));
    EXPECT_EQ(ReportFormat::Json, ReportFormatForPath(L"tvxcfg"));
    EXPECT_EQ(ReportFormat::Json, ReportFormatForPath(L""));
}

TEST(ReportFormat, JsonCarriesEveryField) {
    const CCheckReport report = SampleReport();
    const Json::Value root = Parse(ReportToJson(report, 1, L"jp", "2026-12-09T06:30:00Z"));
    EXPECT_EQ(REPORT_SCHEMA_VERSION, root["schema"].asInt());
    EXPECT_EQ("2026-12-09T06:30:00Z", root["time"].asString());
    EXPECT_EQ("jp", root["language"].asString());
    EXPECT_EQ(1, root["check_result"].asInt());
    EXPECT_EQ(2, root["cpu_game"].asInt());
    EXPECT_EQ(1, root["gpu1_game"].asInt());
    EXPECT_EQ(2, root["gpu1_video"].asInt());
    EXPECT_EQ(0, root["gpu2_video"].asInt());
    EXPECT_EQ(2, root["os_support"].asInt());
    EXPECT_EQ(1, root["game_result"].asInt());
    EXPECT_EQ(2, root["video_result"].asInt());
    EXPECT_EQ(1, root["steamvr"].asInt());
    EXPECT_EQ(1, root["driver_flags"].asInt());
    ASSERT_EQ(2u, root["adapter_names"].size());
    // Non-ASCII names survive as UTF-8.
    EXPECT_EQ(report.adapter_names[1], Utf8ToWide(root["adapter_names"][1].asCString()));
    const Json::Value& shown = root["display_info"];
    EXPECT_EQ("8GB", shown["memory"].asString());
    ASSERT_EQ(2u, shown["gpu"].size());
    EXPECT_EQ(report.display_info.gpu[1], Utf8ToWide(shown["gpu"][1].asCString()));
    EXPECT_EQ("23.21.13.8813", shown["dispdriver"][0].asString());
    EXPECT_EQ("", shown["dispdriver"][1].asString());
    EXPECT_EQ("NVIDIA GEFORCE GTX 970 ", root["match_info"]["gpu"][0].asString());
    EXPECT_EQ("", root["match_info"]["os"].asString());
}

TEST(ReportFormat, StoredResultHasTheSixteenKeysQuoted) {
    CCheckReport report = SampleReport();
    report.display_info.cpu = L"two\r\nlines";
    const std::wstring text = ReportToStoredResult(report);
    EXPECT_EQ(0u, text.find(L"[result]\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"\r\ngpu1=\"NVIDIA GeForce GTX 970 \"\r\n"));
    // A line break would end the value early; it becomes a blank.
    EXPECT_NE(std::wstring::npos, text.find(L"\r\ncpu=\"two  lines\"\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"\r\ndispdriver2=\"\"\r\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"\r\nsteamvr=1\r\n"));
    size_t lines = 0;
    for (size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos; at += 2)
        ++lines;
    EXPECT_EQ(17u, lines); // section header and sixteen keys
    EXPECT_EQ(std::wstring::npos, text.find(L"game_result"));
}

TEST(ReportFormat, Utf16FileHasBomAndLittleEndianUnits) {
    EXPECT_EQ(std::string("\xFF\xFE"
                          "A\0\x2D\x4E",
                          6),
              ToUtf16LeWithBom(L"A\x4E2D"));
    EXPECT_EQ("2026-12-09T06:30:00Z", Iso8601Utc(1796797800));
}

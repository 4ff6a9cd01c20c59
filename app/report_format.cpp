#include "app/report_format.h"

#include "engine/result_file_keys.h"
#include "support/text.h"

#include <json/json.h>

ReportFormat ReportFormatForPath(const std::wstring& path) {
    static const std::wstring kStored = L".TVXCFG";
    const std::wstring upper = AsciiUpper(path);
    if (upper.size() >= kStored.size() &&
        upper.compare(upper.size() - kStored.size(), kStored.size(), kStored) == 0)
        return ReportFormat::StoredResult;
    return ReportFormat::Json;
}

std::string Iso8601Utc(std::time_t when) {
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &when);
#else
    gmtime_r(&when, &utc);
#endif
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

namespace {

Json::Value Text(const std::wstring& text) {
    return Json::Value(WideToUtf8(text));
}

Json::Value Pair(const std::wstring (&texts)[2]) {
    Json::Value array(Json::arrayValue);
    array.append(Text(texts[0]));
    array.append(Text(texts[1]));
    return array;
}

Json::Value InfoObject(const SystemInfoText& info) {
    Json::Value object(Json::objectValue);
    object["os"] = Text(info.os);
    object["cpu"] = Text(info.cpu);
    object["memory"] = Text(info.memory);
    object["gpu"] = Pair(info.gpu);
    object["dispdriver"] = Pair(info.dispdriver);
    return object;
}

} // namespace

std::string ReportToJson(const CCheckReport& report, int checkResult, const std::wstring& language,
                         const std::string& utcTime) {
    Json::Value root(Json::objectValue);
    root["schema"] = REPORT_SCHEMA_VERSION;
    root["time"] = utcTime;
    root["language"] = Text(language);
    root["check_result"] = checkResult;
    const struct {
        const char* name;
        int value;
    } verdicts[] = {
        {"cpu_game", report.cpu_game},       {"cpu_video", report.cpu_video},
        {"gpu1_game", report.gpu1_game},     {"gpu1_video", report.gpu1_video},
        {"gpu2_game", report.gpu2_game},     {"gpu2_video", report.gpu2_video},
        {"mem_support", report.mem_support}, {"os_support", report.os_support},
        {"game_result", report.game_result}, {"video_result", report.video_result},
        {"steamvr", report.steamvr},
    };
    for (const auto& v : verdicts)
        root[v.name] = v.value;
    Json::Value names(Json::arrayValue);
    for (const auto& name : report.adapter_names)
        names.append(Text(name));
    root["adapter_names"] = names;
    root["display_info"] = InfoObject(report.display_info);
    root["match_info"] = InfoObject(report.match_info);
    root["driver_flags"] = report.driver_flags;

    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    builder["emitUTF8"] = true; // keep names readable instead of \u escapes
    return Json::writeString(builder, root) + "\n";
}

namespace {

// Profile values cannot hold line breaks, and surrounding blanks or quotes are
// trimmed by the reader: quote every text so it comes back exactly.
std::wstring ProfileText(const std::wstring& text) {
    std::wstring clean;
    clean.reserve(text.size() + 2);
    clean.push_back(L'"');
    for (wchar_t c : text)
        clean.push_back(c == L'\r' || c == L'\n' ? L' ' : c);
    clean.push_back(L'"');
    return clean;
}

} // namespace

std::wstring ReportToStoredResult(const CCheckReport& report) {
    std::wstring text = L"[" + std::wstring(RESULT_FILE_SECTION) + L"]\r\n";
    ForEachResultKey(
        report,
        [&](const wchar_t* key, const std::wstring& value) {
            text += std::wstring(key) + L"=" + ProfileText(value) + L"\r\n";
        },
        [&](const wchar_t* key, int value) {
            text += std::wstring(key) + L"=" + std::to_wstring(value) + L"\r\n";
        });
    return text;
}

std::string ToUtf16LeWithBom(const std::wstring& text) {
    std::string bytes("\xFF\xFE", 2);
    bytes.reserve(2 + text.size() * 2);
    auto put = [&bytes](unsigned unit) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    };
    for (wchar_t c : text) {
        const unsigned long cp = static_cast<unsigned long>(c);
        if (cp > 0xFFFF) { // native build: split into a surrogate pair
            const unsigned long v = cp - 0x10000;
            put(0xD800 + static_cast<unsigned>(v >> 10));
            put(0xDC00 + static_cast<unsigned>(v & 0x3FF));
        } else {
            put(static_cast<unsigned>(cp));
        }
    }
    return bytes;
}

#include "engine/requirements.h"

#include "support/json_text.h"
#include "support/text.h"

#include <json/value.h>

const RequirementsKey kRequirementsKeys[17] = {
    {"CPU_Game", &CCheckReport::CPU_Game},
    {"CPU_Video", &CCheckReport::CPU_Video},
    {"GPU_NV_Game", &CCheckReport::GPU_NV_Game},
    {"GPU_NV_Video", &CCheckReport::GPU_NV_Video},
    {"GPU_AMD_Game", &CCheckReport::GPU_AMD_Game},
    {"GPU_AMD_Video", &CCheckReport::GPU_AMD_Video},
    {"CPU_Intel_Video", &CCheckReport::CPU_Intel_Video},
    {"CPU_AMD_Video", &CCheckReport::CPU_AMD_Video},
    {"OS", &CCheckReport::OS},
    {"GPU_Game_Laptop", &CCheckReport::GPU_Game_Laptop},
    {"GPU_Video_Laptop", &CCheckReport::GPU_Video_Laptop},
    {"CPU_Game_BlackList", &CCheckReport::CPU_Game_BlackList},
    {"CPU_Video_BlackList", &CCheckReport::CPU_Video_BlackList},
    {"GPU_Game_BlackList", &CCheckReport::GPU_Game_BlackList},
    {"GPU_Video_BlackList", &CCheckReport::GPU_Video_BlackList},
    {"GPU_Game_BlackList_Exception", &CCheckReport::GPU_Game_BlackList_Exception},
    {"GPU_Video_BlackList_Exception", &CCheckReport::GPU_Video_BlackList_Exception},
};

bool ParseConfiguration(const std::string& bytes, Json::Value& root) {
    return ReadJsonText(bytes, root) == JsonRead::Parsed;
}

namespace {

void AppendEntries(const Json::Value& array, NameList& list) {
    for (Json::ArrayIndex i = 0; i < array.size(); ++i) {
        const Json::Value& element = array[i];
        if (!element.isString())
            continue;
        // Up to its first zero, like every text handed to the conversion.
        list.push_back(AsciiUpper(Utf8ToWide(element.asCString())));
    }
}

} // namespace

RequirementsStatus AppendRequirements(const std::string& bytes, CCheckReport& report) {
    Json::Value parsed;
    if (!ParseConfiguration(bytes, parsed))
        return RequirementsStatus::ParseFailed;
    return AppendParsedRequirements(parsed, report);
}

RequirementsStatus AppendParsedRequirements(const Json::Value& root, CCheckReport& report) {
    // Read through a const view: the non-const operator[] would add members.
    if (!root.isNull() && !root.isObject())
        return RequirementsStatus::NotAnObject;
    if (root.isNull())
        return RequirementsStatus::Loaded;
    const Json::Value& body = root["body"];
    if (!body.isObject())
        return RequirementsStatus::Loaded;
    for (const auto& key : kRequirementsKeys) {
        const Json::Value& value = body[key.key];
        if (value.isArray())
            AppendEntries(value, report.*key.list);
    }
    return RequirementsStatus::Loaded;
}

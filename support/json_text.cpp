#include "support/json_text.h"

#include <json/reader.h>

#include <exception>

// Json::Reader is the parser whose grammar the configurations are written for
// (comments allowed, any root). jsoncpp marks it deprecated in favour of
// CharReader; silence that one warning here only.
JsonRead ReadJsonText(const std::string& text, Json::Value& root) {
#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#elif defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
    try {
        Json::Reader reader;
        return reader.parse(text, root, false) ? JsonRead::Parsed : JsonRead::NotJson;
    } catch (const std::exception&) {
        // A damaged text, not a reason to end the check.
        root = Json::Value();
        return JsonRead::TooDeep;
    }
#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic pop
#elif defined(_MSC_VER)
#pragma warning(pop)
#endif
}

bool ParsesAsJson(const std::string& text) {
    Json::Value root;
    return ReadJsonText(text, root) == JsonRead::Parsed;
}

bool ParsesAsJsonObject(const std::string& text) {
    Json::Value root;
    return ReadJsonText(text, root) == JsonRead::Parsed && root.isObject();
}

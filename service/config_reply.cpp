#include "service/config_reply.h"

#include "support/json_text.h"
#include "support/text.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

bool GetUrlText(const Json::Value& body, std::string& url) {
    if (!body.isNull() && !body.isObject())
        return false;
    const Json::Value& member = body["url"];
    char number[32];
    switch (member.type()) {
    case Json::stringValue: {
        const std::string text = member.asString();
        url.assign(text.c_str()); // a \u0000 in the JSON ends the URL
        return true;
    }
    case Json::intValue:
        std::snprintf(number, sizeof number, "%" PRId64, static_cast<int64_t>(member.asInt64()));
        url = number;
        return true;
    case Json::uintValue:
        std::snprintf(number, sizeof number, "%" PRIu64, static_cast<uint64_t>(member.asUInt64()));
        url = number;
        return true;
    case Json::realValue: {
        // Six decimals, cut to 15 characters; such a URL is never fetchable,
        // it only has to be harmless.
        char real[16];
        std::snprintf(real, sizeof real, "%f", member.asDouble());
        url = real;
        return true;
    }
    default:
        return false;
    }
}

ConfigReply ReadConfigReply(const std::string& reply, std::string& url) {
    try {
        Json::Value root;
        const JsonRead read = ReadJsonText(reply, root);
        if (read == JsonRead::TooDeep)
            return ConfigReply::Aborted;
        if (read == JsonRead::NotJson || (!root.isNull() && !root.isObject()))
            return ConfigReply::Unreadable;
        // Read through a const reference: the mutable operator[] would turn
        // a null root into an object.
        const Json::Value& constRoot = root;
        const Json::Value& body = constRoot["body"];
        if (!body.isObject())
            return ConfigReply::NoBody;
        GetUrlText(body, url);
        return ConfigReply::Located;
    } catch (...) {
        return ConfigReply::Aborted;
    }
}

bool IsDocumentUrl(const std::string& url) {
    const std::string upper = AsciiUpper(url.substr(0, 8));
    return upper.rfind("HTTP://", 0) == 0 || upper.rfind("HTTPS://", 0) == 0;
}

DocumentUse JudgeDocument(const HttpReply& reply) {
    constexpr unsigned long kHttpOk = 200;
    if (reply.tooLarge)
        return DocumentUse::TooLarge;
    if (!reply.complete)
        return DocumentUse::Failed;
    if (reply.status != kHttpOk)
        return DocumentUse::BadStatus;
    return ParsesAsJsonObject(reply.body) ? DocumentUse::Store : DocumentUse::BadJson;
}

// Reading the configuration endpoint's JSON reply: where the current
// configuration document lies.
#pragma once

#include <json/value.h>

#include <string>

// Reads body["url"] into url: a string up to its first zero byte, or a number
// printed as text. Returns false, leaving url alone, for any other type or
// when body is neither null nor an object.
bool GetUrlText(const Json::Value& body, std::string& url);

enum class ConfigReply {
    Unreadable, // not JSON, or a root that is neither null nor an object
    NoBody,     // null root, or no object "body"
    Located,    // url holds whatever GetUrlText produced (maybe nothing)
    Aborted,    // the parser gave up with an exception (e.g. nesting too deep)
};

ConfigReply ReadConfigReply(const std::string& reply, std::string& url);

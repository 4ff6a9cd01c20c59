// Reading a JSON text the way this program reads every configuration: the
// requirements file and the configuration service's reply alike.
#pragma once

#include <json/value.h>

#include <string>

enum class JsonRead {
    Parsed,
    NotJson,
    TooDeep, // the parser threw: nesting beyond its stack limit
};

// Parses the whole text with jsoncpp's classic reader: comments allowed, any
// root. A text nested too deep makes the reader throw; that is caught here
// and answered as TooDeep with a null root, never passed on.
JsonRead ReadJsonText(const std::string& text, Json::Value& root);

// True when the text parses as JSON at all, whatever its root (the test the
// file choice uses to pass over a damaged download).
bool ParsesAsJson(const std::string& text);

// True when the text parses as JSON whose root is an object: what a
// downloaded document must be before it may replace the stored one.
bool ParsesAsJsonObject(const std::string& text);

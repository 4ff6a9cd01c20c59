// Reading the configuration endpoint's JSON reply: where the current
// configuration document lies.
#pragma once

#include "service/http.h"

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

// Only a web address names a document: anything else (file:, ftp:, a bare
// path, a number) would have WinINet read something that is not the
// service's. True when url starts with "http://" or "https://", the scheme
// in any ASCII case.
bool IsDocumentUrl(const std::string& url);

// What the document request's reply means for the stored configuration.
enum class DocumentUse {
    Failed,    // no whole reply (unreachable, past its deadline)
    TooLarge,  // over its cap: "keep old config. too large"
    BadStatus, // a status other than 200: "keep old config. status=<n>"
    BadJson,   // 200, but not JSON with an object root: "keep old config. bad json"
    Store,     // 200 and a JSON object: it replaces the stored file
};

// An error page, a captive portal's login page or a body cut off mid-way
// must never replace the configuration that the last good download stored.
DocumentUse JudgeDocument(const HttpReply& reply);

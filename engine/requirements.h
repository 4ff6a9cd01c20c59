// Parsing of the requirements configuration into the report's seventeen
// lists. Portable: the Windows edge picks the file and writes the log lines.
#pragma once

#include "engine/check_report.h"
#include "support/json_text.h"

#include <json/value.h>

#include <string>

enum class RequirementsStatus {
    Loaded,      // lists appended (possibly none: no "body", or keys missing)
    ParseFailed, // not JSON
    NotAnObject, // JSON whose root is neither null nor an object
};

// The seventeen keys in the order they are read, each with its list.
struct RequirementsKey {
    const char* key;
    NameList CCheckReport::*list;
};
extern const RequirementsKey kRequirementsKeys[17];

// Parses a whole configuration text the way every configuration is read
// (comments allowed, any root). False when it is not JSON.
bool ParseConfiguration(const std::string& bytes, Json::Value& root);

// Appends the entries of an already parsed configuration; NotAnObject for a
// root that is neither null nor an object.
RequirementsStatus AppendParsedRequirements(const Json::Value& root, CCheckReport& report);

// Parses a whole configuration and appends the entries of each key, upper
// case, to the list of the same name. Lists are never cleared: loading twice
// doubles them. Members of the wrong type are refused without a message: a
// "body" that is not an object, a key that is not an array, an element that
// is not a string. Nothing is appended unless the whole text parses.
RequirementsStatus AppendRequirements(const std::string& bytes, CCheckReport& report);

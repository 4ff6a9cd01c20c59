// Serialises a finished check for report mode: JSON for tools and people,
// or the stored-result profile format that setup mode reads back.
#pragma once

#include "engine/check_report.h"

#include <ctime>
#include <string>

enum class ReportFormat { Json, StoredResult };

// ".tvxcfg" (any ASCII case) gives the stored-result format; every other
// extension, or none, gives JSON.
ReportFormat ReportFormatForPath(const std::wstring& path);

// Increased whenever a member changes meaning or disappears.
constexpr int REPORT_SCHEMA_VERSION = 1;

// "2026-12-09T06:30:00Z"
std::string Iso8601Utc(std::time_t when);

// UTF-8 JSON document with every report field.
std::string ReportToJson(const CCheckReport& report, int checkResult, const std::wstring& language,
                         const std::string& utcTime);

// The stored-result file's text (section "result", sixteen keys) with CRLF
// line ends, ready to be written as UTF-16 LE with a BOM.
std::wstring ReportToStoredResult(const CCheckReport& report);

// Bytes of a UTF-16 LE file with BOM holding the text.
std::string ToUtf16LeWithBom(const std::wstring& text);

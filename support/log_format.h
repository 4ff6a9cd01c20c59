// The pure parts of a log line: the time stamp and the byte form of the text.
// Portable, so that the native suite pins the format down.
#pragma once

#include <string>

struct LogTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "MM/DD/YYYY hh:mm:ss" and a tab, 24-hour clock. Each two-digit field is
// printed as its tens and its units, so single digits get a leading zero.
std::wstring FormatLogStamp(const LogTime& time);

// The bytes stored for a wide text. U+0000 to U+00FF become the single byte
// of the same value, as the classic locale's narrow stream stores them.
// Anything above becomes one '?' per character (a UTF-16 surrogate pair is
// one character): the file stays one byte per character throughout, so a
// path with CJK letters can neither cut a line short nor leave bytes that
// read differently from the rest of the file.
std::string LogBytes(const std::wstring& text);

// The result window's findings as plain text, for the clipboard (Ctrl+C):
// what the window shows, one line per row, in the window's language, so that
// a user asking for help can paste it anywhere.
#pragma once

#include <string>
#include <vector>

// A verdict cell: its column's title and the verdict it shows.
struct FindingsCell {
    std::wstring column;
    std::wstring verdict;
};

struct FindingsRow {
    std::wstring line; // "CPU: ..."
    // The message under the line ("N5 HMD can run ..."), or nothing.
    std::wstring message;
    std::vector<FindingsCell> cells;
};

struct Findings {
    std::wstring title;
    std::vector<FindingsRow> rows;    // in the window's order
    std::vector<std::wstring> answer; // the overall answer's lines
};

// The title, one line per row, then the answer, each line ending in CR LF as
// text on the Windows clipboard does. A row reads the way a screen reader
// reads it: "CPU: Intel, VR games: Supported, VR video: Supported". Rows
// without a line and empty texts are left out; a line break inside a text
// becomes a blank, so that a row stays one line, and blanks around a text
// are dropped.
std::wstring FindingsText(const Findings& findings);

// Where the window holds each row: the control with the row's line (with a
// string-table label before its text, or 0 when the text is the whole line),
// the control with the message under it, and the verdict tabs of the games
// and video columns. Null names are not part of that row. In window order.
struct FindingsRowSource {
    const wchar_t* line;
    unsigned labelId;
    const wchar_t* message;
    const wchar_t* gamesTab;
    const wchar_t* videoTab;
};
const std::vector<FindingsRowSource>& FindingsRowSources();
// The tab whose shown page holds the overall answer.
constexpr wchar_t kFindingsAnswerTab[] = L"tab_result";

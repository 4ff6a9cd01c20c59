// The stored result file: one section and its sixteen keys, each with the
// report field it holds, in the order they are written. Setup mode reads the
// file and report mode writes it from this one list, so a key cannot differ
// between the two.
#pragma once

#include "engine/check_report.h"

constexpr wchar_t RESULT_FILE_SECTION[] = L"result";

// Calls text(key, field) for the seven texts, then number(key, field) for the
// nine verdicts. Report may be const; the fields are passed as it is.
template <class Report, class TextVisitor, class NumberVisitor>
void ForEachResultKey(Report& report, TextVisitor text, NumberVisitor number) {
    auto& info = report.display_info;
    text(L"os", info.os);
    text(L"cpu", info.cpu);
    text(L"memory", info.memory);
    text(L"gpu1", info.gpu[0]);
    text(L"gpu2", info.gpu[1]);
    text(L"dispdriver1", info.dispdriver[0]);
    text(L"dispdriver2", info.dispdriver[1]);
    number(L"cpu_game", report.cpu_game);
    number(L"cpu_video", report.cpu_video);
    number(L"mem_support", report.mem_support);
    number(L"gpu1_game", report.gpu1_game);
    number(L"gpu1_video", report.gpu1_video);
    number(L"gpu2_game", report.gpu2_game);
    number(L"gpu2_video", report.gpu2_video);
    number(L"os_support", report.os_support);
    number(L"steamvr", report.steamvr);
}

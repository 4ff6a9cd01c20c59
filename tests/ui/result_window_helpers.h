// Result windows over the real skins, as the program opens them, and a
// report that fills every row.
#pragma once

#include "engine/check_report.h"
#include "ui/check_result_wnd.h"

#include <memory>
#include <string>

std::unique_ptr<CCheckResultWnd> OpenWindow(const wchar_t* layout, int language, int code);
std::unique_ptr<CCheckResultWnd> OpenSetup(int language, int code);
std::unique_ptr<CCheckResultWnd> OpenCheck(int language);

// Two adapters, both drivers outdated, mixed verdicts (the CPU's game
// verdict 2 overrides its video verdict 0; adapter 1's video verdict 7 leaves
// its tab as the layout has it).
CCheckReport TwoAdapterReport();

// A text of a skin as its source, skins/texts/<lang>.cmake, gives it
// (`set(NAME "text")`): read independently of the expanded layouts.
std::wstring SkinText(const char* lang, const char* name);

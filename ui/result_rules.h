// The portable rules of result presentation: which tab page a verdict
// selects, how the information lines are composed, and where the link buttons
// lead. The window (check_result_wnd.cpp) applies them to controls.
#pragma once

#include <string>

// Composed lines hold at most 1023 characters, string table entries 511, the
// outdated-driver note 255 and the unit word 7; longer texts are cut.
constexpr size_t kLineChars = 1023;
constexpr size_t kStringChars = 511;
constexpr size_t kNoteChars = 255;
constexpr size_t kUnitChars = 7;

std::wstring FitText(const std::wstring& text, size_t maxChars);

// Verdict 2 -> page 0, 1 -> page 1, 0 -> page 2; anything else -1 (leave
// the tab as it is).
int VerdictTabPage(int verdict);

struct VerdictPages {
    int game = -1; // -1: leave unchanged
    int video = -1;
};
// A supported game verdict puts both tabs on "supported", whatever the video
// verdict says; otherwise each tab follows its own verdict.
VerdictPages VerdictTabPages(int game, int video);

// Memory: 2 -> page 0, anything else page 1.
int MemoryTabPage(int memory);
// "tab_result": 0 no video, 1 video only, 2 games with SteamVR, 3 games
// without SteamVR.
int OverallResultPage(int game, int video, int steamvr);
// "tab_setup_result": page 1 for CHECK_RESULT_NONE, page 0 otherwise.
int SetupResultPage(int verdictCode);

// "System: " + os + " " + "Bit".
std::wstring ComposeOsLine(const std::wstring& label, const std::wstring& os,
                           const std::wstring& unit);
std::wstring ComposeLabelLine(const std::wstring& label, const std::wstring& value);
// An outdated driver's version loses its line feeds and gets the note.
std::wstring ComposeDriverLine(const std::wstring& label, const std::wstring& version,
                               bool outdated, const std::wstring& note);

// The page a link button opens for a language index (0 cn, 2 jp, other en),
// or an empty text for a name that is not a link button.
std::wstring LinkAddress(const std::wstring& buttonName, int languageIndex);

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

// The pages of the layouts' verdict tabs, and what leaves a tab as it is.
enum ComponentPage {
    COMPONENT_PAGE_UNCHANGED = -1,
    COMPONENT_PAGE_SUPPORTED = 0,
    COMPONENT_PAGE_UNSUPPORTED = 1,
    COMPONENT_PAGE_UNKNOWN = 2,
};

// Supported, unsupported and undecided verdicts select their pages; any
// other number leaves the tab as it is.
int VerdictTabPage(int verdict);

struct VerdictTabs {
    int game = COMPONENT_PAGE_UNCHANGED;
    int video = COMPONENT_PAGE_UNCHANGED;
};
// A supported game verdict puts both tabs on "supported", whatever the video
// verdict says; otherwise each tab follows its own verdict.
VerdictTabs TabsForVerdicts(int game, int video);

// Memory: supported selects the supported page, anything else the other.
int MemoryTabPage(int memory);
// The pages of "tab_result".
enum OverallPage {
    OVERALL_PAGE_NOTHING = 0,
    OVERALL_PAGE_VIDEO_ONLY = 1,
    OVERALL_PAGE_GAMES = 2,
    OVERALL_PAGE_GAMES_NO_STEAMVR = 3,
};
int OverallResultPage(int game, int video, int steamvr);
// "tab_setup_result": the question for a PC that can do nothing, and the one
// for any other answer.
enum SetupPage {
    SETUP_PAGE_CAN_RUN = 0,
    SETUP_PAGE_CANNOT_RUN = 1,
};
int SetupResultPage(int checkResult);

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

#include "ui/result_rules.h"

#include "engine/check_report.h"
#include "support/language.h"

#include <algorithm>

namespace {

// The maker's hosts, in one place (its websites per language are in the
// language table). NVIDIA's is its real website.
const wchar_t kStaticHost[] = L"http://static.tavolex.com";
const wchar_t kNvidiaHost[] = L"https://www.nvidia.com";

} // namespace

std::wstring FitText(const std::wstring& text, size_t maxChars) {
    return text.size() <= maxChars ? text : text.substr(0, maxChars);
}

int VerdictTabPage(int verdict) {
    switch (verdict) {
    case VERDICT_SUPPORTED:
        return COMPONENT_PAGE_SUPPORTED;
    case VERDICT_UNSUPPORTED:
        return COMPONENT_PAGE_UNSUPPORTED;
    case VERDICT_UNDECIDED:
        return COMPONENT_PAGE_UNKNOWN;
    default:
        return COMPONENT_PAGE_UNCHANGED;
    }
}

VerdictTabs TabsForVerdicts(int game, int video) {
    VerdictTabs pages;
    if (game == VERDICT_SUPPORTED) {
        pages.game = COMPONENT_PAGE_SUPPORTED;
        pages.video = COMPONENT_PAGE_SUPPORTED;
    } else if (game == VERDICT_UNSUPPORTED || game == VERDICT_UNDECIDED) {
        pages.game = VerdictTabPage(game);
        pages.video = VerdictTabPage(video);
    }
    return pages;
}

int MemoryTabPage(int memory) {
    return memory == VERDICT_SUPPORTED ? COMPONENT_PAGE_SUPPORTED : COMPONENT_PAGE_UNSUPPORTED;
}

int OverallResultPage(int game, int video, int steamvr) {
    if (video != VERDICT_SUPPORTED)
        return OVERALL_PAGE_NOTHING;
    if (game != VERDICT_SUPPORTED)
        return OVERALL_PAGE_VIDEO_ONLY;
    return steamvr == VERDICT_SUPPORTED ? OVERALL_PAGE_GAMES : OVERALL_PAGE_GAMES_NO_STEAMVR;
}

int SetupResultPage(int checkResult) {
    return checkResult == CHECK_RESULT_NONE ? SETUP_PAGE_CANNOT_RUN : SETUP_PAGE_CAN_RUN;
}

std::wstring ComposeOsLine(const std::wstring& label, const std::wstring& os,
                           const std::wstring& unit) {
    return FitText(label + os + L" " + unit, kLineChars);
}

std::wstring ComposeLabelLine(const std::wstring& label, const std::wstring& value) {
    return FitText(label + value, kLineChars);
}

std::wstring ComposeDriverLine(const std::wstring& label, const std::wstring& version,
                               bool outdated, const std::wstring& note) {
    if (!outdated)
        return FitText(label + version, kLineChars);
    std::wstring flat = version;
    flat.erase(std::remove(flat.begin(), flat.end(), L'\n'), flat.end());
    return FitText(label + flat + note, kLineChars);
}

std::wstring LinkAddress(const std::wstring& buttonName, int languageIndex) {
    const Language& language = LanguageForIndex(languageIndex);
    const std::wstring lang = language.code;
    if (buttonName == L"configrec")
        return std::wstring(kStaticHost) + L"/faq/n5_faq_" + lang + L".html";
    if (buttonName == L"steamhelp")
        return std::wstring(kStaticHost) + L"/faq/play_game_steam_" + lang + L".html";
    if (buttonName == L"nvdriver" || buttonName == L"nvdriver2")
        return std::wstring(kNvidiaHost) + L"/Download/index.aspx?lang=" + lang;
    if (buttonName == L"website")
        return language.website;
    return std::wstring();
}

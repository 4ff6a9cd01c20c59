#include "ui/result_rules.h"

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
    case 2:
        return 0;
    case 1:
        return 1;
    case 0:
        return 2;
    default:
        return -1;
    }
}

VerdictPages VerdictTabPages(int game, int video) {
    VerdictPages pages;
    if (game == 2) {
        pages.game = 0;
        pages.video = 0;
    } else if (game == 1 || game == 0) {
        pages.game = VerdictTabPage(game);
        pages.video = VerdictTabPage(video);
    }
    return pages;
}

int MemoryTabPage(int memory) {
    return memory == 2 ? 0 : 1;
}

int OverallResultPage(int game, int video, int steamvr) {
    if (video != 2)
        return 0;
    if (game != 2)
        return 1;
    return steamvr == 2 ? 2 : 3;
}

int SetupResultPage(int verdictCode) {
    return verdictCode == 0 ? 1 : 0;
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

#include "engine/graphics_rules.h"

#include "engine/name_rules.h"

namespace {

struct AdapterVerdicts {
    int& game;
    int& video;
};

AdapterVerdicts Adapter(CCheckReport& report, size_t index) {
    if (index == 0)
        return {report.gpu1_game, report.gpu1_video};
    return {report.gpu2_game, report.gpu2_video};
}

// The probe records at most two adapters; a longer list is never judged
// beyond the second.
size_t AdapterCount(const CCheckReport& report) {
    return report.adapter_names.size() < size_t(kAdapterSlots) ? report.adapter_names.size()
                                                               : size_t(kAdapterSlots);
}

bool FirstMatchSetsBoth(const NameList& list, const std::wstring& name, AdapterVerdicts v) {
    for (const auto& entry : list) {
        if (NameContains(name, entry)) {
            v.game = VERDICT_SUPPORTED;
            v.video = VERDICT_SUPPORTED;
            return true;
        }
    }
    return false;
}

bool BothGamesDecided(const CCheckReport& r) {
    return r.gpu1_game != VERDICT_UNDECIDED && r.gpu2_game != VERDICT_UNDECIDED;
}

const wchar_t kIntel[] = L"INTEL(R)";

} // namespace

void ApplyGameLists(CCheckReport& report) {
    const size_t n = AdapterCount(report);
    for (size_t i = 0; i < n; ++i) {
        const std::wstring& name = report.adapter_names[i];
        AdapterVerdicts v = Adapter(report, i);
        for (const auto& entry : report.GPU_NV_Game) {
            if (!NameContains(name, entry))
                continue;
            if (IsLowEndGamePattern(name)) {
                v.game = VERDICT_UNSUPPORTED;
                continue;
            }
            v.game = VERDICT_SUPPORTED;
            v.video = VERDICT_SUPPORTED;
            break;
        }
        if (BothGamesDecided(report))
            return;
        FirstMatchSetsBoth(report.GPU_AMD_Game, name, v);
        if (BothGamesDecided(report))
            return;
    }
}

void ApplyIntegratedAndLowEndGames(CCheckReport& report) {
    const size_t n = AdapterCount(report);
    const auto& names = report.adapter_names;
    if (report.gpu1_game == VERDICT_UNDECIDED && n == 1 && NameContains(names[0], kIntel)) {
        report.gpu1_game = VERDICT_UNSUPPORTED;
    } else if ((report.gpu1_game == VERDICT_UNDECIDED || report.gpu2_game == VERDICT_UNDECIDED) &&
               n == 2 && (NameContains(names[0], kIntel) || NameContains(names[1], kIntel))) {
        // With two adapters the Intel one is the integrated part: it alone is
        // marked, even over an earlier list verdict.
        if (NameContains(names[0], kIntel))
            report.gpu1_game = VERDICT_UNSUPPORTED;
        else
            report.gpu2_game = VERDICT_UNSUPPORTED;
    } else if (report.gpu1_game == VERDICT_UNDECIDED && report.gpu2_game == VERDICT_UNDECIDED) {
        for (size_t i = 0; i < n; ++i)
            if (IsLowEndGeForce(names[i]))
                Adapter(report, i).game = VERDICT_UNSUPPORTED;
    }
}

void ApplyVideoLists(CCheckReport& report) {
    const size_t n = AdapterCount(report);
    for (size_t i = 0; i < n; ++i) {
        AdapterVerdicts v = Adapter(report, i);
        if (v.video == VERDICT_SUPPORTED)
            continue;
        const std::wstring& name = report.adapter_names[i];
        if (!MatchList(v.video, report.GPU_NV_Video, name, VERDICT_SUPPORTED))
            MatchList(v.video, report.GPU_AMD_Video, name, VERDICT_SUPPORTED);
    }
}

void ApplyIntegratedVideo(CCheckReport& report, const std::wstring& cpuMatchName) {
    const size_t n = AdapterCount(report);
    const auto& names = report.adapter_names;
    if (report.gpu1_video == VERDICT_UNDECIDED) {
        // An HD part with a Core i3 is judged before any model number is read.
        if (n == 1 && NameContains(names[0], L"INTEL(R) HD GRAPHICS") &&
            IsCoreI3Name(cpuMatchName)) {
            report.gpu1_game = VERDICT_UNSUPPORTED;
            report.gpu1_video = VERDICT_UNSUPPORTED;
        }
        if (report.gpu1_video == VERDICT_UNDECIDED && n == 1 && NameContains(names[0], kIntel)) {
            if (IsWeakIntelGraphics(names[0])) {
                report.gpu1_game = VERDICT_UNSUPPORTED;
                report.gpu1_video = VERDICT_UNSUPPORTED;
            } else {
                report.gpu1_video = VERDICT_SUPPORTED;
            }
        }
    }
    if ((report.gpu1_video == VERDICT_UNDECIDED || report.gpu2_video == VERDICT_UNDECIDED) &&
        n == 2) {
        for (size_t i = 0; i < 2; ++i) {
            if (!NameContains(names[i], kIntel))
                continue;
            const bool weak = IsWeakIntelGraphics(names[i]);
            AdapterVerdicts v = Adapter(report, i);
            if (v.video != VERDICT_UNDECIDED)
                continue;
            if (weak) {
                v.game = VERDICT_UNSUPPORTED;
                v.video = VERDICT_UNSUPPORTED;
            } else {
                v.video = VERDICT_SUPPORTED;
            }
        }
    }
}

void ApplyGraphicsRules(CCheckReport& report, const std::wstring& cpuMatchName) {
    if (!report.adapter_names.empty())
        ApplyGameLists(report);
    ApplyIntegratedAndLowEndGames(report);
    ApplyVideoLists(report);
    ApplyIntegratedVideo(report, cpuMatchName);
}

void CCheckReport::ApplyLaptopLists(int& gpu1Game, int& gpu1Video, int& gpu2Game, int& gpu2Video) {
    const size_t n = AdapterCount(*this);
    for (size_t i = 0; i < n; ++i) {
        const std::wstring& name = adapter_names[i];
        int& game = i == 0 ? gpu1Game : gpu2Game;
        int& video = i == 0 ? gpu1Video : gpu2Video;
        // Laptop lists replace earlier verdicts, the low-end 1 included.
        for (const auto& entry : GPU_Game_Laptop) {
            if (NameContains(name, entry)) {
                game = VERDICT_SUPPORTED;
                video = VERDICT_SUPPORTED;
                break;
            }
        }
        for (const auto& entry : GPU_Video_Laptop) {
            if (video != VERDICT_SUPPORTED && NameContains(name, entry))
                video = VERDICT_SUPPORTED;
        }
    }
}

void ApplyAdapterBlacklists(CCheckReport& report) {
    // Both slots are always processed: an empty slot still matches an empty
    // entry. The exception lists are looked at only after a blacklist match.
    for (size_t i = 0; i < 2; ++i) {
        const std::wstring& name = report.match_info.gpu[i];
        AdapterVerdicts v = Adapter(report, i);
        if (MatchList(v.game, report.GPU_Game_BlackList, name, VERDICT_UNSUPPORTED))
            MatchList(v.game, report.GPU_Game_BlackList_Exception, name, VERDICT_SUPPORTED);
        if (MatchList(v.video, report.GPU_Video_BlackList, name, VERDICT_UNSUPPORTED)) {
            if (!MatchList(v.video, report.GPU_Video_BlackList_Exception, name, VERDICT_SUPPORTED))
                v.game = VERDICT_UNSUPPORTED; // not even video: no games either
        }
    }
}

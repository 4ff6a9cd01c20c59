#include "engine/evaluation.h"

#include "engine/driver_check.h"
#include "tests/engine/fake_machine.h"

#include <gtest/gtest.h>

namespace {

// A report as the graphics probe leaves it: display names in their own case
// with a trailing blank, upper-case names for matching.
void AddAdapter(CCheckReport& r, const std::wstring& description, const std::wstring& driver) {
    const size_t slot = r.adapter_names.size();
    std::wstring upper = description + L" ";
    for (auto& c : upper)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    r.adapter_names.push_back(upper);
    r.match_info.gpu[slot] = upper;
    r.display_info.gpu[slot] = description + L" ";
    r.display_info.dispdriver[slot] = driver;
}

} // namespace

TEST(Evaluation, AsksTheMachineInOrderAndFillsTheTexts) {
    CCheckReport r;
    FakeMachine m;
    m.caption = L"Microsoft Windows 10 Pro";
    m.addressWidth = 64;
    m.memoryBytes = 16LL << 30;
    m.brand = L"Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz";
    EvaluateFindings(r, m);
    EXPECT_EQ((std::vector<std::string>{"QueryOsCpuMemory", "CpuBrandString", "IsPortablePc",
                                        "FindStandaloneSteamVr", "FindSteam"}),
              m.calls);
    EXPECT_EQ(L"Microsoft Windows 10 Pro(64)", r.display_info.os);
    EXPECT_EQ(L"16GB", r.display_info.memory);
    EXPECT_EQ(L"Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz", r.display_info.cpu);
    EXPECT_EQ(L"INTEL(R) CORE(TM) I7-8700K CPU @ 3.70GHZ", r.match_info.cpu);
    EXPECT_TRUE(r.match_info.os.empty());
    EXPECT_TRUE(r.match_info.memory.empty());
    // No lists: only the memory verdict and SteamVR are decided.
    EXPECT_EQ(VERDICT_SUPPORTED, r.mem_support);
    EXPECT_EQ(VERDICT_UNDECIDED, r.os_support);
    EXPECT_EQ(VERDICT_UNDECIDED, r.cpu_game);
    EXPECT_EQ(VERDICT_UNDECIDED, r.game_result);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.steamvr);
}

TEST(Evaluation, UnknownAddressWidthAsksWow64) {
    CCheckReport r;
    FakeMachine m;
    m.addressWidth = 0;
    m.wow64 = true;
    m.caption.clear();
    m.memoryBytes = 0;
    r.OS = {L"WINDOWS"};
    EvaluateFindings(r, m);
    EXPECT_EQ("IsWow64", m.calls[1]);
    EXPECT_EQ(L"(64)", r.display_info.os);
    EXPECT_EQ(L"0GB", r.display_info.memory);
    EXPECT_EQ(VERDICT_UNDECIDED, r.os_support);
    EXPECT_EQ(VERDICT_UNDECIDED, r.mem_support);

    CCheckReport r32;
    FakeMachine m32;
    m32.addressWidth = 0;
    m32.wow64 = false;
    r32.OS = {L"WINDOWS 10"};
    EvaluateFindings(r32, m32);
    EXPECT_EQ(L"Microsoft Windows 10 Pro(32)", r32.display_info.os);
    EXPECT_EQ(VERDICT_UNDECIDED, r32.os_support);
}

TEST(Evaluation, MemoryJustBelowAndAtFourGibibytes) {
    CCheckReport below;
    FakeMachine m;
    m.memoryBytes = (4LL << 30) - 1;
    EvaluateFindings(below, m);
    EXPECT_EQ(L"3GB", below.display_info.memory);
    EXPECT_EQ(VERDICT_UNDECIDED, below.mem_support);

    CCheckReport at;
    m.memoryBytes = 4LL << 30;
    EvaluateFindings(at, m);
    EXPECT_EQ(L"4GB", at.display_info.memory);
    EXPECT_EQ(VERDICT_SUPPORTED, at.mem_support);
}

TEST(Evaluation, BlacklistsOverrideListAcceptance) {
    CCheckReport r;
    AddAdapter(r, L"NVIDIA GeForce GTX 1060 6GB", L"23.21.13.9135");
    r.CPU_Game = {L"I7-"};
    r.GPU_NV_Game = {L"GTX 1060"};
    r.CPU_Game_BlackList = {L"8700K"};
    r.GPU_Video_BlackList = {L"6GB"};
    FakeMachine m;
    EvaluateFindings(r, m);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.cpu_game);
    EXPECT_EQ(VERDICT_SUPPORTED, r.cpu_video);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu1_game);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu1_video);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.game_result);
}

TEST(Evaluation, LaptopListOverridesLowEndOnlyOnAPortablePc) {
    auto run = [](bool portable, bool blacklisted) {
        CCheckReport r;
        AddAdapter(r, L"NVIDIA GeForce GTX 980M", L"21.21.13.7306");
        r.GPU_NV_Game = {L"GTX 980"};
        r.GPU_Game_Laptop = {L"GTX 980M"};
        if (blacklisted)
            r.GPU_Game_BlackList = {L"980M"};
        FakeMachine m;
        m.portable = portable;
        EvaluateFindings(r, m);
        return std::make_pair(r.gpu1_game, r.gpu1_video);
    };
    using Verdicts = std::pair<int, int>;
    EXPECT_EQ(Verdicts(VERDICT_UNSUPPORTED, VERDICT_UNDECIDED), run(false, false));
    EXPECT_EQ(Verdicts(VERDICT_SUPPORTED, VERDICT_SUPPORTED), run(true, false));
    // The blacklist runs after the laptop list.
    EXPECT_EQ(Verdicts(VERDICT_UNSUPPORTED, VERDICT_SUPPORTED), run(true, true));
}

TEST(Evaluation, DriverFlagsComputedWhateverTheVerdicts) {
    CCheckReport r;
    AddAdapter(r, L"NVIDIA GeForce GTX 970", L"22.21.13.8205");
    AddAdapter(r, L"NVIDIA GeForce GTX 970", L"23.21.13.9135");
    FakeMachine m;
    EvaluateFindings(r, m);
    EXPECT_EQ(VERDICT_UNDECIDED, r.gpu1_game);
    EXPECT_EQ(DRIVER_FLAG_GPU1_OUTDATED, r.driver_flags);

    // A stale value is replaced, also with no adapters at all.
    CCheckReport none;
    none.driver_flags = 3;
    EvaluateFindings(none, m);
    EXPECT_EQ(0, none.driver_flags);
}

TEST(Evaluation, IntelFirstWithListedNvidiaSecond) {
    CCheckReport r;
    AddAdapter(r, L"Intel(R) UHD Graphics 630", L"26.20.100.7262");
    AddAdapter(r, L"NVIDIA GeForce RTX 2070", L"26.21.14.4141");
    r.CPU_Game = {L"I7-"};
    r.GPU_NV_Game = {L"RTX "};
    r.OS = {L"WINDOWS 10"};
    FakeMachine m;
    m.steam = true;
    m.steamVrInSteam = true;
    EvaluateFindings(r, m);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu1_game);
    EXPECT_EQ(VERDICT_UNSUPPORTED, r.gpu1_video);
    EXPECT_EQ(VERDICT_SUPPORTED, r.gpu2_game);
    EXPECT_EQ(VERDICT_SUPPORTED, r.gpu2_video);
    EXPECT_EQ(VERDICT_SUPPORTED, r.game_result);
    EXPECT_EQ(VERDICT_SUPPORTED, r.video_result);
    EXPECT_EQ(VERDICT_SUPPORTED, r.steamvr);
    EXPECT_EQ(0, r.driver_flags);
}

TEST(Evaluation, ExistingVerdictsAreNotClearedByASecondRun) {
    // The evaluation only ever sets verdicts; a reused report keeps earlier ones.
    CCheckReport r;
    r.os_support = VERDICT_SUPPORTED;
    FakeMachine m;
    m.addressWidth = 32;
    EvaluateFindings(r, m);
    EXPECT_EQ(VERDICT_SUPPORTED, r.os_support);
}

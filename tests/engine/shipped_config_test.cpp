// Real names, as Windows reports them, judged against the configuration that
// ships beside the executable.
#include "engine/evaluation.h"
#include "engine/requirements.h"
#include "tests/engine/fake_machine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

// Verdicts, short for the tables.
constexpr int U = VERDICT_UNDECIDED, N = VERDICT_UNSUPPORTED, S = VERDICT_SUPPORTED;

CCheckReport LoadShipped() {
    CCheckReport r;
    std::ifstream in(TVX_SOURCE_DIR "/config/checkerconfig.json", std::ios::binary);
    EXPECT_TRUE(in.is_open());
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(RequirementsStatus::Loaded, AppendRequirements(bytes, r));
    EXPECT_FALSE(r.CPU_Game.empty());
    return r;
}

std::wstring Upper(std::wstring s) {
    for (auto& c : s)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return s;
}

void AddAdapter(CCheckReport& r, const std::wstring& description) {
    const size_t slot = r.adapter_names.size();
    r.adapter_names.push_back(Upper(description + L" "));
    r.match_info.gpu[slot] = r.adapter_names.back();
    r.display_info.gpu[slot] = description + L" ";
}

struct Expect {
    const wchar_t* name;
    int game;
    int video;
};

} // namespace

TEST(ShippedConfig, GraphicsAdapters) {
    const Expect adapters[] = {
        {L"NVIDIA GeForce GTX 1060 6GB", S, S},
        {L"NVIDIA GeForce GTX 1050 Ti", S, S},
        {L"NVIDIA GeForce GTX 1050", N, S},
        {L"NVIDIA GeForce GTX 970", S, S},
        {L"NVIDIA GeForce GTX 980M", N, S},
        {L"NVIDIA GeForce GTX 1070 with Max-Q Design", S, S},
        {L"NVIDIA GeForce RTX 2060", S, S},
        {L"NVIDIA GeForce RTX 3070 Laptop GPU", S, S},
        {L"NVIDIA GeForce RTX 4090", S, S},
        {L"NVIDIA GeForce GTX 1650", S, S},
        {L"NVIDIA GeForce GTX 1660 SUPER", S, S},
        {L"NVIDIA GeForce GTX 750 Ti", N, S},
        {L"NVIDIA GeForce GT 730", N, N},
        {L"NVIDIA GeForce GT 1030", N, S},
        {L"NVIDIA GeForce MX150", N, S},
        {L"NVIDIA Quadro P4000", N, S},
        {L"NVIDIA Quadro P5000", S, S},
        {L"NVIDIA Quadro RTX 4000", S, S},
        {L"Radeon RX 580 Series", S, S},
        {L"Radeon (TM) RX 480 Graphics", S, S},
        {L"AMD Radeon RX 5700 XT", S, S},
        {L"AMD Radeon RX 6800 XT", S, S},
        {L"AMD Radeon RX 7900 XTX", S, S},
        {L"Radeon RX 550 Series", U, S},
        {L"AMD Radeon R9 200 Series", U, S},
        {L"AMD Radeon(TM) Graphics", U, U},
        {L"Intel(R) HD Graphics 620", N, N},
        {L"Intel(R) HD Graphics 4600", N, N},
        {L"Intel(R) UHD Graphics 620", N, N},
        {L"Intel(R) Iris(TM) Plus Graphics 655", N, S},
        {L"Intel(R) Iris(TM) Pro Graphics 580", N, S},
        {L"Intel(R) Iris(TM) Graphics 540", N, S},
        {L"Intel(R) Iris(R) Xe Graphics", N, N},
        {L"Intel(R) Arc(TM) A770 Graphics", S, S},
        {L"Microsoft Basic Display Adapter", N, N},
    };
    for (const auto& a : adapters) {
        CCheckReport r = LoadShipped();
        AddAdapter(r, a.name);
        FakeMachine m;
        EvaluateFindings(r, m);
        EXPECT_EQ(a.game, r.gpu1_game) << "game: " << testing::PrintToString(std::wstring(a.name));
        EXPECT_EQ(a.video, r.gpu1_video)
            << "video: " << testing::PrintToString(std::wstring(a.name));
    }
}

TEST(ShippedConfig, Processors) {
    const Expect processors[] = {
        {L"Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz", S, S},
        {L"Intel(R) Core(TM) i5-4590 CPU @ 3.30GHz", S, S},
        {L"Intel(R) Core(TM) i5-4460  CPU @ 3.20GHz", U, S},
        {L"Intel(R) Core(TM) i3-8100 CPU @ 3.60GHz", N, S},
        {L"Intel(R) Core(TM) i9-9900K CPU @ 3.60GHz", S, S},
        {L"11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz", S, S},
        {L"12th Gen Intel(R) Core(TM) i5-12400F", S, S},
        {L"13th Gen Intel(R) Core(TM) i9-13900K", S, S},
        {L"Intel(R) Core(TM) Ultra 7 155H", S, S},
        {L"AMD Ryzen 5 3600 6-Core Processor", S, S},
        {L"AMD Ryzen 7 5800X 8-Core Processor", S, S},
        {L"AMD Ryzen 9 7950X 16-Core Processor", S, S},
        {L"AMD Ryzen 7 PRO 4750U with Radeon Graphics", S, S},
        {L"AMD Ryzen 3 3200G with Radeon Vega Graphics", U, S},
        {L"AMD FX(tm)-8350 Eight-Core Processor", S, S},
        {L"AMD FX(tm)-6300 Six-Core Processor", U, S},
        {L"Intel(R) Pentium(R) CPU G4560 @ 3.50GHz", N, U},
        {L"Intel(R) Pentium(R) Gold G5400 CPU @ 3.70GHz", N, S},
        {L"Intel(R) Celeron(R) CPU N3050 @ 1.60GHz", N, N},
        {L"Intel(R) Atom(TM) x5-Z8350  CPU @ 1.44GHz", N, N},
        {L"Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz", U, U},
        {L"Intel(R) Xeon(R) CPU E5-2680 v4 @ 2.40GHz", U, U},
    };
    for (const auto& p : processors) {
        CCheckReport r = LoadShipped();
        FakeMachine m;
        m.brand = p.name;
        EvaluateFindings(r, m);
        EXPECT_EQ(p.game, r.cpu_game) << testing::PrintToString(std::wstring(p.name));
        EXPECT_EQ(p.video, r.cpu_video) << testing::PrintToString(std::wstring(p.name));
        EXPECT_EQ(p.name, r.display_info.cpu);
    }
}

TEST(ShippedConfig, OperatingSystems) {
    const struct {
        const wchar_t* caption;
        int width;
        int expected;
    } systems[] = {
        {L"Microsoft Windows 10 Pro", 64, S},
        {L"Microsoft Windows 10 Home", 64, S},
        {L"Microsoft Windows 10 Education", 64, S},
        {L"Microsoft Windows 10 Enterprise LTSC", 64, S},
        {L"Microsoft Windows 11 Pro", 64, S},
        {L"Microsoft Windows 11 Home", 64, S},
        {L"Microsoft Windows 11 Enterprise", 64, S},
        {L"Microsoft Windows 11 Pro for Workstations", 64, S},
        {L"Microsoft Windows 10 \x5BB6\x5EAD\x4E2D\x6587\x7248", 64, S},
        {L"Microsoft Windows 11 \x4E13\x4E1A\x7248", 64, S},
        {L"Microsoft Windows 10 Pro", 32, U},
        {L"Microsoft Windows 7 Professional", 64, U},
        {L"Microsoft Windows 8.1 Pro", 64, U},
        {L"Microsoft Windows Server 2019 Standard", 64, U},
    };
    for (const auto& s : systems) {
        CCheckReport r = LoadShipped();
        FakeMachine m;
        m.caption = s.caption;
        m.addressWidth = s.width;
        EvaluateFindings(r, m);
        EXPECT_EQ(s.expected, r.os_support) << testing::PrintToString(std::wstring(s.caption));
        EXPECT_EQ(std::wstring(s.caption) + L"(" + std::to_wstring(s.width) + L")",
                  r.display_info.os);
    }
}

TEST(ShippedConfig, WholeMachines) {
    // A gaming laptop: Intel graphics first, a laptop GPU second.
    CCheckReport laptop = LoadShipped();
    AddAdapter(laptop, L"Intel(R) UHD Graphics 630");
    AddAdapter(laptop, L"NVIDIA GeForce GTX 980M");
    FakeMachine m;
    m.brand = L"Intel(R) Core(TM) i7-8750H CPU @ 2.20GHz";
    m.caption = L"Microsoft Windows 10 Home";
    m.memoryBytes = 8LL << 30;
    m.portable = true;
    m.steam = true;
    m.steamVrInSteam = true;
    EvaluateFindings(laptop, m);
    EXPECT_EQ(VERDICT_UNSUPPORTED, laptop.gpu1_game);
    EXPECT_EQ(VERDICT_UNSUPPORTED, laptop.gpu1_video);
    EXPECT_EQ(VERDICT_SUPPORTED, laptop.gpu2_game); // lifted by the laptop list
    EXPECT_EQ(VERDICT_SUPPORTED, laptop.gpu2_video);
    EXPECT_EQ(VERDICT_SUPPORTED, laptop.game_result);
    EXPECT_EQ(VERDICT_SUPPORTED, laptop.video_result);
    EXPECT_EQ(VERDICT_SUPPORTED, laptop.steamvr);

    // An office PC: video at best.
    CCheckReport office = LoadShipped();
    AddAdapter(office, L"Intel(R) Iris(TM) Plus Graphics 655");
    FakeMachine o;
    o.brand = L"Intel(R) Core(TM) i5-8259U CPU @ 2.30GHz";
    o.caption = L"Microsoft Windows 11 Pro";
    o.memoryBytes = 8LL << 30;
    EvaluateFindings(office, o);
    EXPECT_EQ(VERDICT_UNSUPPORTED, office.game_result);
    EXPECT_EQ(VERDICT_SUPPORTED, office.video_result);
    EXPECT_EQ(VERDICT_UNSUPPORTED, office.steamvr);
}

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
        {L"NVIDIA GeForce GTX 1060 6GB", 2, 2},
        {L"NVIDIA GeForce GTX 1050 Ti", 2, 2},
        {L"NVIDIA GeForce GTX 1050", 1, 2},
        {L"NVIDIA GeForce GTX 970", 2, 2},
        {L"NVIDIA GeForce GTX 980M", 1, 2},
        {L"NVIDIA GeForce GTX 1070 with Max-Q Design", 2, 2},
        {L"NVIDIA GeForce RTX 2060", 2, 2},
        {L"NVIDIA GeForce RTX 3070 Laptop GPU", 2, 2},
        {L"NVIDIA GeForce RTX 4090", 2, 2},
        {L"NVIDIA GeForce GTX 1650", 2, 2},
        {L"NVIDIA GeForce GTX 1660 SUPER", 2, 2},
        {L"NVIDIA GeForce GTX 750 Ti", 1, 2},
        {L"NVIDIA GeForce GT 730", 1, 1},
        {L"NVIDIA GeForce GT 1030", 1, 2},
        {L"NVIDIA GeForce MX150", 1, 2},
        {L"NVIDIA Quadro P4000", 1, 2},
        {L"NVIDIA Quadro P5000", 2, 2},
        {L"NVIDIA Quadro RTX 4000", 2, 2},
        {L"Radeon RX 580 Series", 2, 2},
        {L"Radeon (TM) RX 480 Graphics", 2, 2},
        {L"AMD Radeon RX 5700 XT", 2, 2},
        {L"AMD Radeon RX 6800 XT", 2, 2},
        {L"AMD Radeon RX 7900 XTX", 2, 2},
        {L"Radeon RX 550 Series", 0, 2},
        {L"AMD Radeon R9 200 Series", 0, 2},
        {L"AMD Radeon(TM) Graphics", 0, 0},
        {L"Intel(R) HD Graphics 620", 1, 1},
        {L"Intel(R) HD Graphics 4600", 1, 1},
        {L"Intel(R) UHD Graphics 620", 1, 1},
        {L"Intel(R) Iris(TM) Plus Graphics 655", 1, 2},
        {L"Intel(R) Iris(TM) Pro Graphics 580", 1, 2},
        {L"Intel(R) Iris(TM) Graphics 540", 1, 2},
        {L"Intel(R) Iris(R) Xe Graphics", 1, 1},
        {L"Intel(R) Arc(TM) A770 Graphics", 2, 2},
        {L"Microsoft Basic Display Adapter", 1, 1},
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
        {L"Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz", 2, 2},
        {L"Intel(R) Core(TM) i5-4590 CPU @ 3.30GHz", 2, 2},
        {L"Intel(R) Core(TM) i5-4460  CPU @ 3.20GHz", 0, 2},
        {L"Intel(R) Core(TM) i3-8100 CPU @ 3.60GHz", 1, 2},
        {L"Intel(R) Core(TM) i9-9900K CPU @ 3.60GHz", 2, 2},
        {L"11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz", 2, 2},
        {L"12th Gen Intel(R) Core(TM) i5-12400F", 2, 2},
        {L"13th Gen Intel(R) Core(TM) i9-13900K", 2, 2},
        {L"Intel(R) Core(TM) Ultra 7 155H", 2, 2},
        {L"AMD Ryzen 5 3600 6-Core Processor", 2, 2},
        {L"AMD Ryzen 7 5800X 8-Core Processor", 2, 2},
        {L"AMD Ryzen 9 7950X 16-Core Processor", 2, 2},
        {L"AMD Ryzen 7 PRO 4750U with Radeon Graphics", 2, 2},
        {L"AMD Ryzen 3 3200G with Radeon Vega Graphics", 0, 2},
        {L"AMD FX(tm)-8350 Eight-Core Processor", 2, 2},
        {L"AMD FX(tm)-6300 Six-Core Processor", 0, 2},
        {L"Intel(R) Pentium(R) CPU G4560 @ 3.50GHz", 1, 0},
        {L"Intel(R) Pentium(R) Gold G5400 CPU @ 3.70GHz", 1, 2},
        {L"Intel(R) Celeron(R) CPU N3050 @ 1.60GHz", 1, 1},
        {L"Intel(R) Atom(TM) x5-Z8350  CPU @ 1.44GHz", 1, 1},
        {L"Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz", 0, 0},
        {L"Intel(R) Xeon(R) CPU E5-2680 v4 @ 2.40GHz", 0, 0},
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
        {L"Microsoft Windows 10 Pro", 64, 2},
        {L"Microsoft Windows 10 Home", 64, 2},
        {L"Microsoft Windows 10 Education", 64, 2},
        {L"Microsoft Windows 10 Enterprise LTSC", 64, 2},
        {L"Microsoft Windows 11 Pro", 64, 2},
        {L"Microsoft Windows 11 Home", 64, 2},
        {L"Microsoft Windows 11 Enterprise", 64, 2},
        {L"Microsoft Windows 11 Pro for Workstations", 64, 2},
        {L"Microsoft Windows 10 \x5BB6\x5EAD\x4E2D\x6587\x7248", 64, 2},
        {L"Microsoft Windows 11 \x4E13\x4E1A\x7248", 64, 2},
        {L"Microsoft Windows 10 Pro", 32, 0},
        {L"Microsoft Windows 7 Professional", 64, 0},
        {L"Microsoft Windows 8.1 Pro", 64, 0},
        {L"Microsoft Windows Server 2019 Standard", 64, 0},
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
    EXPECT_EQ(1, laptop.gpu1_game);
    EXPECT_EQ(1, laptop.gpu1_video);
    EXPECT_EQ(2, laptop.gpu2_game); // lifted by the laptop list
    EXPECT_EQ(2, laptop.gpu2_video);
    EXPECT_EQ(2, laptop.game_result);
    EXPECT_EQ(2, laptop.video_result);
    EXPECT_EQ(2, laptop.steamvr);

    // An office PC: video at best.
    CCheckReport office = LoadShipped();
    AddAdapter(office, L"Intel(R) Iris(TM) Plus Graphics 655");
    FakeMachine o;
    o.brand = L"Intel(R) Core(TM) i5-8259U CPU @ 2.30GHz";
    o.caption = L"Microsoft Windows 11 Pro";
    o.memoryBytes = 8LL << 30;
    EvaluateFindings(office, o);
    EXPECT_EQ(1, office.game_result);
    EXPECT_EQ(2, office.video_result);
    EXPECT_EQ(1, office.steamvr);
}

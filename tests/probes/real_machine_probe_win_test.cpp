// The real machine seam answers with the probes' findings under Wine.
#include "engine/check_report.h"
#include "probes/cpu_brand.h"
#include "engine/machine_probe.h"
#include "probes/wmi_helper.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <thread>

TEST(RealMachineProbe, AnswersFromThisMachine) {
    IMachineProbe& machine = RealMachineProbe();
    EXPECT_EQ(&machine, &RealMachineProbe());

    std::wstring caption;
    int width = 0;
    int64_t memory = 0;
    std::thread([&] { machine.QueryOsCpuMemory(caption, width, memory); }).join();
    EXPECT_FALSE(caption.empty());
    EXPECT_GT(memory, 0);

    // The 32-bit product under a 64-bit Windows (WMI's address width 64) is
    // a WOW64 process, and the other way round; a 64-bit build answers the
    // same question for it.
    EXPECT_EQ(width == 64, machine.IsWow64());
    if (sizeof(void*) == 4) {
        BOOL wow64 = FALSE;
        ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
        EXPECT_EQ(wow64 != FALSE, machine.IsWow64());
    }

    EXPECT_EQ(ReadCpuBrandString(), machine.CpuBrandString());
    EXPECT_FALSE(machine.IsPortablePc());
}

TEST(RealMachineProbe, WholeCheckFillsTheReportFromThisMachine) {
    // The worker thread's order: adapters, then the evaluation over the real
    // probes. The requirement lists do not matter here, only the findings.
    // The standalone SteamVR check opens its key with create semantics; the
    // empty key it may leave is removed again if this test made it.
    const wchar_t kHtcVive[] = L"Software\\HtcVive";
    HKEY existing = nullptr;
    const bool hadHtcVive = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kHtcVive, 0,
                                          KEY_READ | KEY_WOW64_32KEY, &existing) == ERROR_SUCCESS;
    if (hadHtcVive)
        RegCloseKey(existing);

    CCheckReport report;
    std::wstring caption;
    int width = 0;
    int64_t memory = 0;
    bool comLeftClean = false;
    std::thread([&] {
        report.ProbeVideoControllers();
        report.Evaluate();
        QueryOsCpuMemory(caption, width, memory);
        comLeftClean = CoInitializeEx(nullptr, COINIT_MULTITHREADED) == S_OK;
        CoUninitialize();
    }).join();
    if (!hadHtcVive)
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kHtcVive, KEY_WOW64_32KEY, 0);

    const int bits = width != 0 ? width : (RealMachineProbe().IsWow64() ? 64 : 32);
    EXPECT_EQ(caption + L"(" + std::to_wstring(bits) + L")", report.display_info.os);
    EXPECT_EQ(std::to_wstring(memory / 1073741824) + L"GB", report.display_info.memory);
    EXPECT_EQ(ReadCpuBrandString(), report.display_info.cpu);
    ASSERT_FALSE(report.adapter_names.empty());
    EXPECT_EQ(report.match_info.gpu[0], report.adapter_names[0]);
    EXPECT_EQ(memory >= 4 * 1073741824LL ? 2 : 0, report.mem_support);
    EXPECT_TRUE(report.steamvr == 1 || report.steamvr == 2);
    EXPECT_TRUE(comLeftClean);
    std::wcout << L"[ report   ] os=\"" << report.display_info.os << L"\" memory=\""
               << report.display_info.memory << L"\" cpu=\"" << report.display_info.cpu
               << L"\" gpu1=\"" << report.display_info.gpu[0] << L"\" steamvr=" << report.steamvr
               << std::endl;
}

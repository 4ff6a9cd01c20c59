// The real machine seam answers with the probes' findings under Wine.
#include "engine/cpu_brand.h"
#include "engine/machine_probe.h"

#include <windows.h>

#include <gtest/gtest.h>

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

    // A 32-bit process under a 64-bit Windows (WMI's address width 64) is a
    // WOW64 process, and the other way round.
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_EQ(wow64 != FALSE, machine.IsWow64());
    EXPECT_EQ(sizeof(void*) == 4 && width == 64, machine.IsWow64());

    EXPECT_EQ(ReadCpuBrandString(), machine.CpuBrandString());
    EXPECT_FALSE(machine.IsPortablePc());
}

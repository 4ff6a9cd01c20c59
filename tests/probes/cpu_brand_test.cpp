#include "engine/check_report.h"
#include "probes/cpu_brand.h"

#include <gtest/gtest.h>

#include <string>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

// A second reading of the same three leaves, made here with the compiler's
// own helper. The kernel's "model name" is no reference: under a hypervisor
// it can differ from what the processor instruction reports.
std::wstring BrandByGetCpuid() {
    std::wstring brand;
#if defined(__i386__) || defined(__x86_64__)
    unsigned regs[12] = {};
    for (unsigned i = 0; i < 3; ++i) {
        if (!__get_cpuid(0x80000002u + i, &regs[4 * i], &regs[4 * i + 1], &regs[4 * i + 2],
                         &regs[4 * i + 3]))
            return {};
    }
    const char* text = reinterpret_cast<const char*>(regs);
    for (size_t i = 0; i < sizeof regs && text[i] != 0; ++i)
        brand.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
#endif
    return brand;
}

} // namespace

TEST(CpuBrand, ReadsThisProcessorsBrandString) {
    const std::wstring brand = ReadCpuBrandString();
#if defined(__i386__) || defined(__x86_64__) || defined(_M_IX86) || defined(_M_X64)
    ASSERT_FALSE(brand.empty());
#endif
    EXPECT_LE(brand.size(), 48u);
    for (wchar_t c : brand) {
        EXPECT_GE(c, 0x20) << "control character in the brand string";
        EXPECT_LT(c, 0x7F) << "non-ASCII byte in the brand string";
    }
    std::wstring viaReport;
    CCheckReport report;
    EXPECT_EQ(static_cast<int>(brand.size()), report.GetCpuBrandString(viaReport));
    EXPECT_EQ(brand, viaReport);

#if defined(__i386__) || defined(__x86_64__)
    EXPECT_EQ(BrandByGetCpuid(), brand);
#endif
}

#include "engine/check_report.h"
#include "engine/cpu_brand.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::wstring Trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    const size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

// Linux's own reading of the same leaves, leading and trailing blanks removed.
std::wstring KernelModelName() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            const size_t colon = line.find(": ");
            if (colon == std::string::npos)
                return {};
            const std::string value = line.substr(colon + 2);
            return std::wstring(value.begin(), value.end());
        }
    }
    return {};
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

    const std::wstring kernel = KernelModelName();
    if (!kernel.empty() && kernel != L"unknown") {
        EXPECT_EQ(kernel, Trimmed(brand));
    }
}

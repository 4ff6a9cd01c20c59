#include "probes/cpu_brand.h"

#include <cstdint>
#include <cstring>

#if defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
#include <intrin.h>
#define TVX_HAS_CPUID 1
static void RunCpuid(uint32_t leaf, uint32_t regs[4]) {
    int out[4] = {};
    __cpuid(out, static_cast<int>(leaf));
    for (int i = 0; i < 4; ++i)
        regs[i] = static_cast<uint32_t>(out[i]);
}
#elif (defined(__GNUC__) || defined(__clang__)) && (defined(__i386__) || defined(__x86_64__))
#include <cpuid.h>
#define TVX_HAS_CPUID 1
static void RunCpuid(uint32_t leaf, uint32_t regs[4]) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid(leaf, a, b, c, d);
    regs[0] = a;
    regs[1] = b;
    regs[2] = c;
    regs[3] = d;
}
#endif

std::wstring ReadCpuBrandString() {
#ifdef TVX_HAS_CPUID
    uint32_t regs[4] = {};
    // Asking for a leaf beyond the highest one returns another leaf's data on
    // Intel processors, so check that the three brand leaves exist.
    RunCpuid(0x80000000u, regs);
    if (regs[0] < 0x80000004u)
        return {};

    // 48 bytes of text and a terminating zero; EAX, EBX, ECX, EDX per leaf.
    char text[49] = {};
    for (uint32_t i = 0; i < 3; ++i) {
        RunCpuid(0x80000002u + i, regs);
        std::memcpy(text + i * 16, regs, 16);
    }
    std::wstring brand;
    // The brand string is ASCII; each byte widens to the character of the
    // same value, as the classic locale converts it.
    for (const char* p = text; *p != 0; ++p)
        brand.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return brand;
#else
    return {};
#endif
}

// Processor, memory and operating-system rules and the texts that describe
// the machine. Portable: the machine's answers arrive as plain values.
#pragma once

#include "engine/check_report.h"

#include <cstdint>
#include <string>

// Values one evaluation keeps from the system texts to the last rule.
struct MachineFacts {
    std::wstring caption; // operating-system caption, empty when unknown
    int addressWidth = 0; // 0 when unknown
    int64_t memoryBytes = 0;
    int64_t gibibytes = 0;     // memoryBytes / 2^30, truncated
    int bitWidth = 32;         // 32 or 64
    std::wstring cpuMatchName; // the brand string upper-cased
};

constexpr int64_t kBytesPerGibibyte = 1073741824;

// Bit width from the address width; 0 (unknown) falls back to the WOW64
// answer: a 32-bit process on 64-bit Windows means a 64-bit system.
int BitWidth(int addressWidth, bool isWow64);

// "caption(64)" and "16GB"; the memory text prints the low 32 bits.
std::wstring OsText(const std::wstring& caption, int bitWidth);
std::wstring MemoryText(int64_t gibibytes);

// CPU_Game, then the Core i3 rule, then CPU_Video.
void ApplyProcessorRules(CCheckReport& report, const std::wstring& cpuMatchName);

// An OS entry counts only on a 64-bit system.
void ApplyOsRule(CCheckReport& report, const std::wstring& caption, int bitWidth);

// At least 4 GiB.
void ApplyMemoryRule(CCheckReport& report, int64_t gibibytes);

// CPU_Game_BlackList, then CPU_Video_BlackList.
void ApplyProcessorBlacklists(CCheckReport& report, const std::wstring& cpuMatchName);

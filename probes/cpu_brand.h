// The processor brand string from the processor-identification instruction.
// Portable: the same instruction answers on Linux, so the native suite reads
// the real processor too.
#pragma once

#include <string>

// The 48-character brand string of extended leaves 0x80000002 to 0x80000004,
// up to its first zero, leading spaces kept. Empty on a processor without
// those leaves or on a machine that is not x86.
std::wstring ReadCpuBrandString();

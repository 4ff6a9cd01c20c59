// Names of temporary files. Portable.
#pragma once

#include <cstdint>
#include <string>

// Bytes of randomness in a temporary file's name: 128 bits, so that nobody
// can guess the name in advance and plant a file or a link there.
constexpr size_t kTempNameRandomBytes = 16;

// "<target>.<32 lower-case hex digits>.tmp": beside the target (a rename
// within one folder is a single step), recognisable as this program's.
std::wstring TempNameFor(const std::wstring& target, const uint8_t (&random)[kTempNameRandomBytes]);

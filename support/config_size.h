// How large a requirements configuration may be. Portable.
#pragma once

#include <cstddef>

// The shipped document is about 2 KB. The JSON reader keeps every entry as a
// tree node some twenty times the size of its text, and a 32-bit process
// has little room for that: anything over this cap is not a configuration,
// whether downloaded or read from a file.
constexpr size_t kMaxConfigurationBytes = 1024 * 1024;

// Whether this process runs with an administrator's full rights. Installers
// often start the program that way; some of its writes then take extra care
// (see folder_chain.h). A process that is not elevated writes
// with its user's rights and needs no such care.
#pragma once

#include <optional>

// True for an elevated token, and also when the token cannot be asked: the
// careful way is the safe guess.
bool IsProcessElevated();

// Tests force an answer; std::nullopt asks Windows again.
void SetElevationForTesting(std::optional<bool> forced);

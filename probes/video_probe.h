// The graphics adapter probe (Windows): the video controllers WMI reports.
#pragma once

#include "engine/machine_probe.h"

#include <cstddef>
#include <vector>

// Up to `limit` controllers in WMI's order. An empty list when COM or WMI is
// not available. Leaves the thread's COM state as it found it.
std::vector<VideoControllerRow> ReadVideoControllers(size_t limit);

// The adapter record: what one video controller row puts into the report.
// The rows come through the machine seam, so the slot rules can be exercised
// with made-up rows.
#pragma once

#include "engine/check_report.h"
#include "engine/machine_probe.h"

#include <vector>

// Records one controller into slot 0 or 1 (other slots are ignored). A
// description becomes the display name with one trailing blank, its ASCII
// upper-case copy the match name and an adapter_names entry; the driver
// version is stored unchanged, even when there is no description.
void RecordVideoController(CCheckReport& report, int slot, const VideoControllerRow& row);

// Records the rows in enumeration order: the first into slot 0, the second
// into slot 1. A row without a description still takes its slot.
void RecordVideoControllers(CCheckReport& report, const std::vector<VideoControllerRow>& rows);

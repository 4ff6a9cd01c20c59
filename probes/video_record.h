// The recording half of the graphics adapter probe: what one WMI video
// controller row puts into the report. Kept apart from the WMI enumeration so
// that the slot rules can be exercised with made-up rows.
#pragma once

#include "engine/check_report.h"

#include <optional>
#include <string>
#include <vector>

// One Win32_VideoController instance as read: a property that was missing,
// null or not a string is absent.
struct VideoControllerRow {
    std::optional<std::wstring> description;
    std::optional<std::wstring> driverVersion;
};

// The report holds two adapter slots; later controllers are not examined.
constexpr int kAdapterSlots = 2;

// Records one controller into slot 0 or 1 (other slots are ignored). A
// description becomes the display name with one trailing blank, its ASCII
// upper-case copy the match name and an adapter_names entry; the driver
// version is stored unchanged, even when there is no description.
void RecordVideoController(CCheckReport& report, int slot, const VideoControllerRow& row);

// Records the rows in enumeration order: the first into slot 0, the second
// into slot 1. A row without a description still takes its slot.
void RecordVideoControllers(CCheckReport& report, const std::vector<VideoControllerRow>& rows);

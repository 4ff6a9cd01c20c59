#include "engine/video_record.h"

#include "support/text.h"

void RecordVideoController(CCheckReport& report, int slot, const VideoControllerRow& row) {
    if (slot < 0 || slot >= kAdapterSlots)
        return;
    if (row.description) {
        // The trailing blank is part of the name everywhere it is stored: the
        // lists and the driver check were written against names ending in it.
        const std::wstring name = *row.description + L" ";
        const std::wstring upper = AsciiUpper(name);
        report.display_info.gpu[slot] = name;
        report.match_info.gpu[slot] = upper;
        report.adapter_names.push_back(upper);
    }
    if (row.driverVersion)
        report.display_info.dispdriver[slot] = *row.driverVersion;
}

void RecordVideoControllers(CCheckReport& report, const std::vector<VideoControllerRow>& rows) {
    for (size_t i = 0; i < rows.size() && i < size_t(kAdapterSlots); ++i)
        RecordVideoController(report, static_cast<int>(i), rows[i]);
}

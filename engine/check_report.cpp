// The report's portable members. Its Windows members are in
// check_report_win.cpp and the laptop rule in graphics_rules.cpp; each is a
// thin wrapper over the free function that does the work.
#include "engine/check_report.h"

#include "probes/cpu_brand.h"

#include <utility>

CCheckReport::CCheckReport(std::wstring configPath) : config_path(std::move(configPath)) {}

int CCheckReport::GetCpuBrandString(std::wstring& brand) {
    brand = ReadCpuBrandString();
    return static_cast<int>(brand.size());
}

bool CheckedSecondAdapter(const CCheckReport& report) {
    return report.adapter_names.size() >= static_cast<size_t>(kAdapterSlots);
}

bool StoredSecondAdapter(const CCheckReport& report) {
    return !report.display_info.gpu[1].empty();
}

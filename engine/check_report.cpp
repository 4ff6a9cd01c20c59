#include "engine/check_report.h"

#include <utility>

CCheckReport::CCheckReport(std::wstring configPath) : config_path(std::move(configPath)) {}

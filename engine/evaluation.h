// The evaluation after the requirement lists are loaded: system texts, every
// rule in its fixed order, the overall verdicts and SteamVR. Portable; the
// machine's answers come through the IMachineProbe seam.
#pragma once

#include "engine/check_report.h"

class IMachineProbe;

// Steps 3 to 15 of CCheckReport::Evaluate. Later steps overwrite verdicts of
// earlier ones, so the order decides the outcome.
void EvaluateFindings(CCheckReport& report, IMachineProbe& machine);

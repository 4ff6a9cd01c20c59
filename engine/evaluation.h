// The evaluation after the requirement lists are loaded: system texts, every
// rule in its fixed order, the overall verdicts and SteamVR. Portable; the
// machine's answers come through the IMachineProbe seam.
#pragma once

#include "engine/check_report.h"

class IMachineProbe;

// Everything CCheckReport::Evaluate does after the requirement lists are read:
// system texts, the rules, the overall verdicts and SteamVR. Later steps
// overwrite verdicts of earlier ones, so the order decides the outcome.
void EvaluateFindings(CCheckReport& report, IMachineProbe& machine);

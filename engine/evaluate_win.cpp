// The evaluation on Windows: the requirement lists are read first, then the
// progress note, then every rule over the machine's answers.
#include "engine/check_report.h"
#include "engine/evaluation.h"
#include "support/log.h"

void CCheckReport::Evaluate(IMachineProbe& machine) {
    LoadRequirements();
    CCTLog::GetInstance().Write(LOG_LEVEL_PROGRESS, L"Start work...");
    EvaluateFindings(*this, machine);
}

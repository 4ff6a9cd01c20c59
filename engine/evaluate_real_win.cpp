// Kept apart from Evaluate(IMachineProbe&) so that tests with a fake machine
// link without the real probes.
#include "engine/check_report.h"
#include "engine/machine_probe.h"

void CCheckReport::Evaluate() {
    Evaluate(RealMachineProbe());
}

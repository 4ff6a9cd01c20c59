#include "app/setup_mode.h"

SetupOverallVerdicts OverallVerdictsForCode(int verdictCode) {
    return SetupOverallVerdicts{verdictCode >= 1 ? 2 : 1, verdictCode >= 2 ? 2 : 1};
}

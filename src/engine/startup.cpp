// The start-up order of the program's data.
#include "engine/startup.h"

#include "core/complement.h"
#include "engine/lpam.h"
#include "engine/ranking.h"
#include "settings/settings_files.h"

namespace varigap {

void StartUp(State& st) {
    LoadParameters(st);
    LoadOptions(st);  // options are in force before the code table checks below
    InitializeGlobals(st);
    InitLPAM(st);
    InitMatchTemplate(st);
    InitializeComplement(st);
}

}  // namespace varigap

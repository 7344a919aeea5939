// Start-up of the state that build and check read their parameters from.
#include "cli/builder_options.h"
#include "cli/commands.h"
#include "core/complement.h"
#include "core/textfile.h"
#include "engine/detail/lpam.h"
#include "engine/detail/ranking.h"
#include "settings/settings_files.h"

namespace varigap::cli {

bool StartBuilderState(State& st, const std::string& paramsFile) {
    st.programDir = ProgramDirectory();
    SetDefaultOptions(st);
    bool ok = true;
    if (paramsFile.empty()) {
        if (FindFileIgnoringCase(st.programDir, kParamsFileName).empty()) SetDefaultParameters(st);
        else LoadParameters(st);
    } else {
        std::string dir, name;
        SplitPath(paramsFile, dir, name);
        LoadParametersFrom(st, dir, name);  // reports a missing file
        ok = !FindFileIgnoringCase(dir, name).empty();
    }
    InitializeGlobals(st);
    InitLPAM(st);
    InitMatchTemplate(st);
    InitializeComplement(st);
    return ok;
}

}  // namespace varigap::cli

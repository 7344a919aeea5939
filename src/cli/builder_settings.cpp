// Start-up of the session that build and check read their parameters from.
#include "cli/builder_options.h"
#include "cli/commands.h"
#include "core/textfile.h"
#include "engine/analysis.h"
#include "settings/locations.h"

namespace varigap::cli {

// The settings in use are those of analyze: a parameters file named on the command line, else
// the ones the desktop program uses, else the defaults.
bool StartBuilderState(Session& session, const std::string& paramsFile) {
    session.programDir = ProgramDirectory();
    LocateInstalledFiles(session);
    return StartUp(session, SettingsFiles{.params = paramsFile, .options = "", .reportMissing = false});
}

}  // namespace varigap::cli

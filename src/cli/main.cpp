// varigap-cli: batch analysis of sequence files without a window.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/help_text.h"
#include "cli/options.h"
#include "cli/stdout_writer.h"
#include "core/textfile.h"
#include "core/version.h"
#include "settings/locations.h"

int main(int argc, char** argv) {
    using namespace varigap::cli;
    // A filter ends quietly when its reader goes away, whatever its parent ignored.
    std::signal(SIGPIPE, SIG_DFL);
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error)) {
        std::fprintf(stderr, "varigap-cli: %s\nTry \"varigap-cli --help\".\n", error.c_str());
        return kExitUsage;
    }
    static char outBuffer[1 << 16];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    int status = kExitUsage;
    switch (cl.command) {
        case Command::Help: {
            std::string text = HelpText(cl.helpFor);
            // The commands that read settings files say which ones are in use.
            if (cl.helpFor == Command::Help || cl.helpFor == Command::Analyze || cl.helpFor == Command::Build ||
                cl.helpFor == Command::Check) {
                auto session = std::make_unique<varigap::Session>();
                session->programDir = varigap::ProgramDirectory();
                varigap::LocateInstalledFiles(*session);
                text += "\n" + varigap::SettingsPlacesHelp(*session);
            }
            WriteStdout(text);
            status = kExitOk;
            break;
        }
        case Command::Version:
            WriteStdout("varigap-cli " + varigap::VersionText() + "\n");
            status = kExitOk;
            break;
        case Command::Analyze: status = RunAnalyze(cl.analyze); break;
        case Command::Variants: status = RunVariants(cl.variants); break;
        case Command::Build: status = RunBuild(cl.build); break;
        case Command::Regions: status = RunRegions(cl.regions); break;
        case Command::Check: status = RunCheck(cl.check); break;
        case Command::Merge: status = RunMerge(cl.merge); break;
        case Command::Report: status = RunReport(cl.report); break;
        case Command::Evaluate: status = RunEvaluate(cl.evaluate); break;
    }
    return CloseStdout(status);
}

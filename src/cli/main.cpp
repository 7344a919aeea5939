// varigap-cli: batch analysis of sequence files without a window.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"
#include "core/textfile.h"
#include "core/version.h"
#include "settings/locations.h"

int main(int argc, char** argv) {
    using namespace varigap::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error)) {
        std::fprintf(stderr, "varigap-cli: %s\nTry \"varigap-cli --help\".\n", error.c_str());
        return kExitUsage;
    }
    static char outBuffer[1 << 16];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    switch (cl.command) {
        case Command::Help: {
            auto st = std::make_unique<varigap::State>();
            st->programDir = varigap::ProgramDirectory();
            varigap::LocateInstalledFiles(*st);
            std::string help = HelpText() + "\n" + varigap::SettingsPlacesHelp(*st);
            std::fwrite(help.data(), 1, help.size(), stdout);
            return kExitOk;
        }
        case Command::Version: {
            std::string version = "varigap-cli " + varigap::VersionText() + "\n";
            std::fwrite(version.data(), 1, version.size(), stdout);
            return kExitOk;
        }
        case Command::Analyze: return RunAnalyze(cl.analyze);
        case Command::Variants: return RunVariants(cl.variants);
        case Command::Build: return RunBuild(cl.build);
        case Command::Regions: return RunRegions(cl.regions);
        case Command::Check: return RunCheck(cl.check);
        case Command::Concat: return RunConcat(cl.concat);
        case Command::Merge: return RunMerge(cl.merge);
    }
    return kExitUsage;
}

// The command line of varigap-cli's build, regions and check commands.
#pragma once

#include <string>
#include <vector>

#include "builder/build.h"
#include "core/state.h"

namespace varigap::cli {

struct BuildCommandOptions {
    builder::BuildOptions build;
    std::string paramsFile;  // "" = the parameter file beside the program, else the defaults
};

struct RegionsOptions {
    std::vector<std::string> files;  // GenBank or EMBL flat files, plain or gzip
    std::string mapFile;
    std::string fastaFile;  // "" = no FASTA of the records
    long flank = 40;        // bases kept on each side of the regions
    long maxSpan = 20000;   // longest stretch from the first to the last region
};

struct CheckOptions {
    std::string templateFile;
    std::string paramsFile;
};

// Each reads the arguments after its command; false with a one-line reason on a usage error.
bool ParseBuild(const std::vector<std::string>& args, BuildCommandOptions& o, std::string& error);
bool ParseRegions(const std::vector<std::string>& args, RegionsOptions& o, std::string& error);
bool ParseCheck(const std::vector<std::string>& args, CheckOptions& o, std::string& error);
// Start-up for build and check: messages to standard error, the parameters from `paramsFile`
// (or the file beside the program, else the defaults), the aligner's working values. False
// when a parameter file given cannot be read.
bool StartBuilderState(Session& session, const std::string& paramsFile);

}  // namespace varigap::cli

// The options of varigap-cli evaluate.
#pragma once

#include <string>
#include <vector>

#include "cli/option_parser.h"
#include "engine/nearest.h"

namespace varigap::cli {

struct EvaluateOptions {
    std::string templateFile;
    std::string paramsFile;  // "" = the file beside the program
    bool tsv = false;        // --format tsv
    NearestBounds nearest;   // --max-diffs, --min-identity
};

// --max-diffs and --min-identity, as analyze and evaluate take them; `given` is set when either is.
std::vector<OptionSpec> BoundOptions(NearestBounds& bounds, bool& given);

// Reads the arguments after "evaluate"; false with a one-line reason on a usage error.
bool ParseEvaluate(const std::vector<std::string>& args, EvaluateOptions& o, std::string& error);

}  // namespace varigap::cli

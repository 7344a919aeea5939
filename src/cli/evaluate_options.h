// The options of varigap-cli evaluate.
#pragma once

#include <string>
#include <vector>

#include "engine/nearest.h"

namespace varigap::cli {

struct EvaluateOptions {
    std::string templateFile;
    std::string paramsFile;  // "" = the file beside the program
    bool tsv = false;        // --format tsv
    NearestBounds nearest;   // --max-diffs, --min-identity
};

// Reads the arguments after "evaluate"; false with a one-line reason on a usage error.
bool ParseEvaluate(const std::vector<std::string>& args, EvaluateOptions& o, std::string& error);

}  // namespace varigap::cli

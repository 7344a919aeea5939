// Batch analysis: records read once in order from every sequence file, analysed by worker
// threads that each own a copy of the loaded state, and emitted in record order with their
// messages.
#pragma once

#include <string>
#include <vector>

#include "cli/analysis.h"
#include "cli/options.h"
#include "core/state.h"

namespace varigap::cli {

struct BatchInput {
    std::vector<std::string> files;    // as given; "-" standard input
    std::vector<std::string> samples;  // the sample of each file
    ReadSettings settings;
};

// Analyses every record; returns the exit status: 0; 1 when a named sequence was missing, a
// record or a file was passed over or an output file was not written; 2 when a sequence file
// broke off (the records before it are analysed) or standard output could not be written.
int RunBatch(const State& loaded, const AnalyzeOptions& opts, BatchInput& input);

}  // namespace varigap::cli

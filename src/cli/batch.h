// Batch analysis: records read once in order, analysed by worker threads that each own a
// copy of the loaded state, and emitted in record order with their messages.
#pragma once

#include <string>
#include <unordered_map>

#include "cli/options.h"
#include "core/state.h"
#include "core/textfile.h"

namespace varigap::cli {

struct BatchInput {
    // Streaming: the open sequence file, read once to its end. By name: nullptr, and
    // `names` holds every name of the file with the number of its first record.
    TextReader* stream = nullptr;
    std::unordered_map<std::string, long> names;
    int templateChoice = 0;  // 0 = the best template
};

// Analyses every record; returns the exit status (0, or 1 when a named sequence was
// missing or an output file was not written).
int RunBatch(const State& loaded, const AnalyzeOptions& opts, BatchInput& input);

}  // namespace varigap::cli

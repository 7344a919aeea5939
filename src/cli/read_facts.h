// The facts the outputs of a run need of one analysis, taken from the state that holds it.
#pragma once

#include "cli/analysis.h"
#include "core/state.h"
#include "export/read_facts.h"

namespace varigap::cli {

// The display lines of the analysis in `st` as positions in the read, with their flags and
// the selected variants; `readLength` is the length of the read as given.
exports::ReadFacts MakeReadFacts(const State& st, const RecordAnalysis& a, size_t readLength);

}  // namespace varigap::cli

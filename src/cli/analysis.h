// The analysis of one sequence, as Find Template does it, and the reparse requests after it.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"
#include "core/state.h"

namespace varigap::cli {

struct RecordAnalysis {
    bool analysed = false;           // a template was applied and the lines were made
    std::vector<std::string> lines;  // the display lines, as the main window lists them
    std::vector<int> segmentOfLine;  // the segment (line number) of each listed line
};

// The template that -t names: a whole number 1..numTemplates is a template number,
// anything else the name of a template (the first of that name); 0 when none fits.
int FindTemplateNumber(const State& st, const std::string& choice);

// Analyses st.actSeq: ranks the templates, takes `templateChoice` when it is a template
// number (else the best), parses, segments, applies `reparse` in order and lists the
// display lines. Nothing is analysed for an empty sequence or without templates; a
// run-time error is reported and leaves the record not analysed.
RecordAnalysis AnalyzeActSeq(State& st, int templateChoice, const std::vector<ReparseRequest>& reparse);

}  // namespace varigap::cli

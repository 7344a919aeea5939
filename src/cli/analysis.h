// The analysis of one read, as Find Template does it, on the strand asked for, and the reparse
// requests after it. Every call into the engine is made here.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"
#include "core/state.h"

namespace varigap::cli {

// What a run fixes for every read.
struct ReadSettings {
    int templateChoice = 0;  // a template number; 0 = the best
    Orient orient = Orient::Forward;
    bool primersTrimmed = false;  // the template's first and last CR lie just outside the read
    std::vector<ReparseRequest> reparse;
};

struct RecordAnalysis {
    bool analysed = false;           // a template was applied and the lines were made
    std::vector<std::string> lines;  // the display lines, as the main window lists them
    std::vector<int> segmentOfLine;  // the segment (line number) of each listed line
    bool reverse = false;            // the reverse complement of the read was analysed
    bool trimmed = false;            // --primers-trimmed
    // Trimmed: where the read lies in actSeq (1-based, inclusive), which holds it between the
    // bases of the template's first and last CR.
    int readFirst = 1, readLast = 0;
};

// The template that -t names: a whole number 1..numTemplates is a template number,
// anything else the name of a template (the first of that name); 0 when none fits.
int FindTemplateNumber(const State& st, const std::string& choice);

// Analyses `bases` on the strand the settings ask for: ranks the templates, takes the chosen
// one (else the best), parses, segments, applies the reparse requests in order and lists the
// display lines. With Orient::Auto the templates are ranked on both strands and the strand
// whose best template ranks higher is kept, the forward one on a tie. Nothing is analysed
// for an empty read or without templates; a run-time error is reported and leaves the read
// not analysed.
RecordAnalysis AnalyzeRead(State& st, const std::string& bases, const ReadSettings& settings);

// Where segment `seg` lies in the read: false when wholly beside it (a CR taken to lie beside
// a trimmed read); else its first and last positions in the read (as they stand, untrimmed).
bool SegmentInRead(const SSegment& seg, const RecordAnalysis& a, int& first, int& last);

}  // namespace varigap::cli

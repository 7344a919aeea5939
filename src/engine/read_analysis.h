// The analysis of one read as every batch front end runs it: Find Template on the strand asked
// for (trimmed reads too), the reparse requests after it, and the result as one value.
#pragma once

#include <string>
#include <vector>

#include "core/read_result.h"
#include "core/state.h"
#include "engine/nearest.h"

namespace varigap {

// Which strand of a read is analysed.
enum class Orient { Forward, Reverse, Auto };

// One reparse request: possibility `sel` for display line `line`.
struct ReparseRequest {
    int line = 0;
    int sel = 0;
};

// What a run asks of every read.
struct ReadRequest {
    int templateChoice = 0;  // a template number; 0 = the best
    Orient orient = Orient::Forward;
    bool primersTrimmed = false;  // the template's first and last CR lie just outside the read
    std::vector<ReparseRequest> reparse;
    Identify identify = Identify::Exact;
    NearestBounds nearest;  // with Identify::Nearest
    // Templates that the ranking ties with the best are told apart by their variable regions
    // (exact identifications first, then nearest ones, then fewer differences); not with a
    // template chosen or primers trimmed.
    bool rankByVariants = false;
};

// The template a user names: a whole number 1..numTemplates is a template number, anything else
// the name of a template (the first of that name); 0 when none fits.
int FindTemplateNumber(const Session& session, const std::string& choice);

// Analyses `bases` on the strand asked for: ranks the templates, takes the chosen one (else the
// best), parses, segments, applies the reparse requests in order and returns the result. With
// Orient::Auto the templates are ranked on both strands and the strand whose best template
// ranks higher is kept, the forward one on a tie. Nothing is analysed for an empty read or
// without templates; a run-time error is reported and leaves the read not analysed. The
// working tables of `st` hold the analysis afterwards. With Identify::Nearest, variable regions
// no listed variant equals are named by their nearest ones (engine/nearest.h), looked up in
// `memo` first (one per job; nullptr: a memo for this read alone). The result's tables take
// their memory from `memory` (the heap unless a caller gives a store of its own).
ReadResult AnalyzeRead(State& st, const std::string& bases, const ReadRequest& request, NearestMemo* memo = nullptr,
                       ResultAllocator memory = {});

// Ranks the templates on `bases` on the strand asked for, as AnalyzeRead does (Orient::Auto:
// the strand whose best template ranks higher, the forward one on a tie), and leaves that
// strand in actSeq with its ranking in the working tables, for a caller that applies the
// template itself (the desktop program's Find Template). The best template's number, 0 without
// templates; `reverse` whether the reverse complement was kept.
Integer RankRead(State& st, const std::string& bases, Orient orient, bool& reverse);

// The analysis held in the working tables of `st`, as they stand, as a result (the desktop
// program's, after Find Template or a reparse, whose display has reported any fault of its
// lines already): `reverse` whether actSeq is the reverse complement of the read.
ReadResult CurrentResult(const State& st, bool reverse);

}  // namespace varigap

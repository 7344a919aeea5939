// Inside the engine: LPAM, which places one conserved region inside a window of the analysed
// sequence by word votes on diagonals and a drifting walk, and tells whether the placement is
// unique.
#pragma once

#include <cstdint>
#include <string>

#include "core/state.h"
#include "engine/lpam.h"

namespace varigap {

constexpr int NODIAGONAL = -32001;  // empty vote slot; end of a word's hit list
constexpr int MAXWORDHITS = 10;     // occurrences of one word that vote

// Working parameters from the saved ones (percentages divided by 100).
void InitLPAM(Session& session);

// Places crBases in sequence positions from..to. numMatches: 0 not found (positions
// POSNOTFOUND), 1 found once (its sequence positions), 2 found more than once (POSAMBIGUOUS).
// The region may hang over an end of the sequence, not of a window inside it. A window over
// maxSeqLen bases is reported and not searched. Time grows linearly with the window and the
// region's length.
void LPAMAlign(State& st, const std::string& crBases, const std::string& sequence, Integer from, Integer to,
               Integer& numMatches, Integer& startPos, Integer& endPos);

struct ReadWords;
// LPAMAlign of distinct CR `cr` of rw.words in rw.seq, with the same results and messages,
// taking each word's occurrences from the sequence's index: time grows with the region's
// length, not with the window's. Returns false when the call showed a message or failed an
// internal check (its result is then not to be reused without the call).
bool LPAMAlignIndexed(State& st, const ReadWords& rw, int32_t cr, Integer from, Integer to, Integer& numMatches,
                      Integer& startPos, Integer& endPos);

}  // namespace varigap

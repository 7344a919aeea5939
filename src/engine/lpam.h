// LPAM: places one conserved region inside a window of the analysed sequence by word votes
// on diagonals and a drifting walk, and tells whether the placement is unique.
#pragma once

#include <string>

#include "core/state.h"

namespace varigap {

constexpr int NODIAGONAL = -32001;  // empty vote slot; end of a word's hit list
constexpr int MAXWORDHITS = 10;     // occurrences of one word that vote

// --- working parameters ---
// From the saved ones (percentages divided by 100).
void InitLPAM(State& st);
// As the Parameters dialog sets and shows them: percentages as whole numbers, rounded
// halves to even on the way back.
void SetLPAMParameters(State& st, Integer maxLengthVariation, Integer wordLength, Integer stdAcceptancePct,
                       Integer minAcceptancePct, Integer minCRLength);
void GetLPAMParameters(const State& st, Integer& maxLengthVariation, Integer& wordLength, Integer& stdAcceptancePct,
                       Integer& minAcceptancePct, Integer& minCRLength);

// --- alignment ---
// Places crBases in sequence positions from..to. numMatches: 0 not found (positions
// POSNOTFOUND), 1 found once (its sequence positions), 2 found more than once (POSAMBIGUOUS).
// Time grows linearly with the window and the region's length.
void LPAMAlign(State& st, const std::string& crBases, const std::string& sequence, Integer from, Integer to,
               Integer& numMatches, Integer& startPos, Integer& endPos);
// The same on a piece already cut out; positions are piece positions. truncBegin / truncEnd:
// the piece begins / ends where the sequence does, so the region may hang over that end.
// A piece over maxSeqLen bases is reported and not searched.
void LPAMAlignPiece(State& st, const std::string& piece, const std::string& crBases, Integer& startPos, Integer& endPos,
                    Integer& numMatches, bool truncBegin, bool truncEnd);
// Walks the region along diagonal d of the current alignment (the word hits of the last
// LPAMAlignPiece on this piece and region) and returns whether enough bases match; on success
// startPos..endPos is the placement, clipped to the piece.
bool TryDiagonal(State& st, const std::string& piece, const std::string& crBases, Integer d, Integer& startPos,
                 Integer& endPos, bool truncBegin, bool truncEnd);

// --- the last alignment, for inspection ---
// Diagonal of the k-th counted occurrence of word i (1-based both); NODIAGONAL after the last.
Integer LPAMWordHit(State& st, Integer i, Integer k);
// Votes that diagonal d holds in the vote table; 0 when it has no slot.
Single LPAMDiagonalScore(State& st, Integer d);

}  // namespace varigap

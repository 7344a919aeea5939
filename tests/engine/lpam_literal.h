// LPAM written out step by step: every word searched through the whole piece, the vote
// table scanned for each hit and kept sorted by swapping neighbours. Slow on purpose; the
// reference that the fast aligner must agree with, result for result and message for message.
#pragma once

#include <string>

#include "core/state.h"

namespace varigap::literal {

// One slot of the vote table; an empty slot holds NODIAGONAL and 0.
struct DiagonalVote {
    Integer diagonal;
    Single score = 0;
};

void ClearVote(DiagonalVote& v);
void SwapVotes(DiagonalVote& a, DiagonalVote& b);

// Same contract as varigap::LPAMAlign and varigap::LPAMAlignPiece; reads st.session.lpam.
void LPAMAlign(State& st, const std::string& crBases, const std::string& sequence, Integer from, Integer to,
               Integer& numMatches, Integer& startPos, Integer& endPos);
void LPAMAlignPiece(State& st, const std::string& piece, const std::string& crBases, Integer& startPos, Integer& endPos,
                    Integer& numMatches, bool truncBegin, bool truncEnd);

// Template matching step by step, every CR placed by the LPAMAlign above in the window the CRs
// placed before leave it; same contract as varigap::MatchTemplate and varigap::RankTemplates
// (the list is entered with the program's AddToRanking).
void MatchTemplate(State& st, Integer t, Integer& numMatched, Integer& numSpanned);
Integer RankTemplates(State& st);

}  // namespace varigap::literal

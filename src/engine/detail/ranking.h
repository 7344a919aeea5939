// Inside the engine: template ranking, which places every conserved region of every template
// and orders the templates by matched bases (within a tolerance) and matched fraction.
#pragma once

#include "core/state.h"
#include "engine/ranking.h"

namespace varigap {

// Working tolerance from the saved one.
void InitMatchTemplate(Session& session);

// Ranks all templates against actSeq; fills templateRanks, crStartPos and crEndPos.
// Returns the best template's number, 0 without templates. Raises run-time error 6 when
// actSeq is longer than an Integer position can reach.
Integer RankTemplates(State& st);
// Places the CRs of template t, longest first, each between the CRs already placed around
// it. numMatched: template bases of the CRs found (those cut off by an end of the sequence
// only with their bases inside it); numSpanned: template bases from the first to the last
// CR found.
void MatchTemplate(State& st, Integer t, Integer& numMatched, Integer& numSpanned);
// Appends template t and moves it up past every entry that it matches better: more matched
// bases beyond the tolerance, or within it a larger matched fraction. A 64th entry is
// reported and left out.
void AddToRanking(State& st, Integer t, Integer numMatched, Integer numSpanned);

}  // namespace varigap

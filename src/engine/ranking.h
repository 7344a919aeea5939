// Template ranking: places every conserved region of every template and orders the
// templates by matched bases (within a tolerance) and matched fraction.
#pragma once

#include "core/state.h"

namespace varigap {

// --- working tolerance ---
void InitMatchTemplate(State& st);
void SetBaseCountTolerance(State& st, Integer value);
void GetBaseCountTolerance(const State& st, Integer& value);

// --- ranking ---
// Ranks all templates against actSeq; fills templateRanks, crStartPos and crEndPos.
// Returns the best template's number, 0 without templates. Raises run-time error 6 when
// actSeq is longer than an Integer position can reach.
Integer RankTemplates(State& st);
// Matches template t and enters it in the ranking.
void RankTemplate(State& st, const Integer& t);
// Places the CRs of template t, longest first, each between the CRs already placed around
// it. numMatched: template bases of the CRs found (those cut off by an end of the sequence
// only with their bases inside it); numSpanned: template bases from the first to the last
// CR found.
void MatchTemplate(State& st, Integer t, Integer& numMatched, Integer& numSpanned);
// Appends template t and moves it up past every entry that it matches better.
void AddToRanking(State& st, Integer t, Integer numMatched, Integer numSpanned);
// Whether ranking entry a belongs above entry b: more matched bases beyond the tolerance,
// or within it a larger matched fraction.
bool IsBetterMatch(State& st, Integer a, Integer b);
// The same comparison of two entries that may come from different rankings (of a read and
// of its reverse complement).
bool IsBetterRank(State& st, const TemplateRank& a, const TemplateRank& b);
// Moves ranking entry `from` up to `to`, the entries between moving down by one.
void MoveRankEntry(State& st, Integer from, Integer to);

// --- placing the CRs of one template ---
// crOrder(1..numCRs(t)): the CR numbers by decreasing length, equal lengths in number order.
void SortCRsByLength(State& st, Integer t);
void ClearCRPositions(State& st, Integer t);
// The window for CR c: after the nearest CR before it, and before the nearest CR after it,
// that are placed unambiguously; the ends of actSeq otherwise.
Integer CRWindowStart(const State& st, Integer t, Integer c);
Integer CRWindowEnd(const State& st, Integer t, Integer c);

}  // namespace varigap

// Template ranking: places every conserved region of every template and orders the
// templates by matched bases (within a tolerance) and matched fraction.
#pragma once

#include "core/state.h"

namespace varigap {

void InitMatchTemplate(State& st);
void SetBaseCountTolerance(State& st, Integer value);
void GetBaseCountTolerance(const State& st, Integer& value);
// Ranks all templates against actSeq; fills templateRanks, crStartPos and crEndPos.
// Returns the best template's number, 0 without templates.
Integer RankTemplates(State& st);

}  // namespace varigap

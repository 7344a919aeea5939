// The ranking's working tolerance, as the Parameters dialog sets and shows it.
#pragma once

#include "core/state.h"

namespace varigap {

void SetBaseCountTolerance(State& st, Integer value);
void GetBaseCountTolerance(const State& st, Integer& value);

}  // namespace varigap

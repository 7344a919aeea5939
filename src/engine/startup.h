// The start-up order of the program's data, shared by every front end.
#pragma once

#include "core/state.h"

namespace varigap {

// Settings files (defaults first), data tables, LPAM and ranking working values, complement.
// st.programDir and st.messenger must be set.
void StartUp(State& st);

}  // namespace varigap

// LPAM's working parameters, as the Parameters dialog sets and shows them.
#pragma once

#include "core/session.h"

namespace varigap {

// Percentages as whole numbers; rounded halves to even on the way back.
void SetLPAMParameters(Session& session, Integer maxLengthVariation, Integer wordLength, Integer stdAcceptancePct,
                       Integer minAcceptancePct, Integer minCRLength);
void GetLPAMParameters(const Session& session, Integer& maxLengthVariation, Integer& wordLength,
                       Integer& stdAcceptancePct, Integer& minAcceptancePct, Integer& minCRLength);

}  // namespace varigap

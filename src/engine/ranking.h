// The ranking's working tolerance, as the Parameters dialog sets and shows it.
#pragma once

#include "core/session.h"

namespace varigap {

void SetBaseCountTolerance(Session& session, Integer value);
void GetBaseCountTolerance(const Session& session, Integer& value);

}  // namespace varigap

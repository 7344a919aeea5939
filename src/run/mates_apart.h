// Mates that do not overlap (an insert longer than both reads), analysed together: mate 1, then
// mate 2 reverse complemented, joined where the unread gap lies, so that the template and the
// strand are chosen once for the pair.
#pragma once

#include <string>

#include "core/read_result.h"

namespace varigap::run {

// Appends mate 2 (as read) reverse complemented to `bases`, its qualities reversed to `quals`.
void JoinMates(std::string& bases, std::string& quals, const std::string& bases2, const std::string& quals2);

// After the analysis of mates joined by JoinMates (mate 1 of `mate1Length` bases): says where
// each mate lies, and marks the lines that reach across the join (regions in the unread gap and
// those a mate's end cuts), and the uncertain lines beside them, as not covered: flag '-', no
// bases, no variant.
void MarkUnreadGap(ReadResult& r, int mate1Length);

}  // namespace varigap::run

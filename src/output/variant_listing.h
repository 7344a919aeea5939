// Listing the variants of a variable region file by length, as the Variable Region
// Analysis window shows them: long entries are cut into lines of 100 characters + " +".
#pragma once

#include <string>
#include <vector>

#include "core/types.h"

namespace varigap {

// Length comparison modes, numbered as the window's option buttons.
enum CompMode : int { kSameLength = 1, kDifferentLength = 2, kShorter = 3, kLonger = 4, kAll = 5 };

// Whether an entry (bases text as written) passes the mode's filter against pLength; its
// length is that of its cleaned bases.
bool IsSeqShown(const std::string& rawBases, int compMode, int pLength);
// The list lines of one entry: every full 100 characters followed by " +", then the rest
// (possibly empty).
std::vector<std::string> SplitVariantText(const std::string& rawBases);

}  // namespace varigap

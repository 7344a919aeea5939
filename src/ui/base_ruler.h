// A ruler over the bases of one line: positions every ten bases, ticks, then the bases, in a
// fixed-pitch font, so a biologist reads off the position of any base of the line.
#pragma once

#include <string>

namespace varigap::ui {

// Three lines (numbers, ticks, bases) for `bases` starting at position `start` (1-based): a
// number stands over its tick ("|" every ten bases, ":" at five, "." between) when it fits
// after the one before; the first base is always numbered.
std::string BaseRuler(int start, const std::string& bases);

}  // namespace varigap::ui

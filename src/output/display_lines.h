// The display lines of an analysis: one text per segment, as the analysed-sequence list
// shows them ("1:[C]:GGATCC", "2?{V}?TTAAC", "4?2,1?...").
#pragma once

#include <string>
#include <vector>

#include "core/state.h"

namespace varigap {

enum class LineKind { Conserved, Variable, Confused };
LineKind KindOf(const SSegment& s);

// Text of segment n; false (after a logic-error report) when its positions are unknown.
bool DisplayLineText(State& st, Integer n, std::string& text);
// The lines of SSegments(1..numSSegments) in order, reporting gaps and overlaps between
// consecutive segments as logic errors. `segmentOfLine` (optional) receives the segment
// number of each listed line. A run-time error is reported and ends the list; the lines
// made before it are returned.
std::vector<std::string> ComputeDisplayLines(State& st, std::vector<int>* segmentOfLine = nullptr);

}  // namespace varigap

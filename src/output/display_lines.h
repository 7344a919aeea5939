// The display lines of an analysis: one text per segment, as the analysed-sequence list
// shows them ("1:[C]:GGATCC", "2?{V}?TTAAC", "4?2,1?...").
#pragma once

#include <string>
#include <vector>

#include "core/read_result.h"
#include "core/state.h"

namespace varigap {

// Text of segment n; false (after a logic-error report) when its positions are unknown.
bool DisplayLineText(State& st, Integer n, std::string& text);
// The segments of SSegments(1..numSSegments) that are listed, in order: those whose positions
// are known. Gaps and overlaps between consecutive segments, and unknown positions, are
// reported as logic errors when `report` (once, when the lines are first made); a run-time
// error is reported and ends the list.
std::vector<int> DisplayedSegments(const State& st, bool report = true);
// The lines of the listed segments in order. `segmentOfLine` (optional) receives the segment
// number of each listed line.
std::vector<std::string> ComputeDisplayLines(State& st, std::vector<int>* segmentOfLine = nullptr);

}  // namespace varigap

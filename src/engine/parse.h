// Parsing the analysed sequence along a template: regions, variable region runs, display
// segments, and re-segmenting around a chosen variant.
#pragma once

#include "core/state.h"

namespace varigap {

// Builds SRegions from the stored CR positions of actTemplate and identifies every run of VRs.
void ParseSequence(State& st);
// Flags unresolved regions, resolves confused groups and builds SSegments.
void SegmentSequence(State& st);
// Makes possibility `sel` the selected one of VR vrIndex shown on display line lineNo and
// rebuilds SSegments around it.
void SelectVRPossibility(State& st, Integer lineNo, Integer vrIndex, Integer sel);

}  // namespace varigap

// Parsing the analysed sequence along a template: regions, variable region runs, display
// segments, and re-segmenting around a chosen variant.
#pragma once

#include "core/state.h"

namespace varigap {

// Builds SRegions from the stored CR positions of actTemplate and identifies every run of VRs.
void ParseSequence(State& st);
// SRegions from the template's regions and the CR positions; VRs take the borders of the CRs
// found beside them. More than MAXNUMREGIONS regions: message, the first 254 are kept.
void BuildSRegions(State& st);
// Resets VRPoss and identifies every maximal run of consecutive VRs once.
void IdentifyVRRuns(State& st);
// Identifies the run of VRs that starts at SRegions index `first` from its files; true when
// its VRs were identified and placed.
bool IdentifyVRRun(State& st, Integer first);

// Flags unresolved regions, resolves confused groups and builds SSegments. At most
// MAXNUMDISPLAYLINES segments are kept; a walk that would make more says so once.
void SegmentSequence(State& st);
// Makes possibility `sel` the selected one of VR vrIndex shown on display line lineNo and
// rebuilds SSegments around it.
void SelectVRPossibility(State& st, Integer lineNo, Integer vrIndex, Integer sel);
// Rebuilds SSegments so that VR vrIndex occupies exactly the stretch of its selected possibility.
void ResegmentWithChoice(State& st, Integer vrIndex);
// For an unresolved region i: the position just before the next resolved region, or the
// length of actSeq when none follows.
Integer UnresolvedStretchEnd(State& st, Integer i);

}  // namespace varigap

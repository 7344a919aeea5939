// Inside the engine: parsing the analysed sequence along actTemplate into regions, identifying
// its variable regions, and cutting it into display lines.
#pragma once

#include "core/state.h"

namespace varigap {

// --- regions and runs (parse.cpp) ---

// Builds SRegions from the stored CR positions of actTemplate and identifies every run of
// consecutive VRs once among the variants of their files.
void ParseSequence(State& st);
// SRegions from the template's regions and the CR positions; VRs take the borders of the CRs
// found beside them. More than MAXNUMREGIONS regions: message, the first 254 are kept.
void BuildSRegions(State& st);

// --- confused groups (groups.cpp) ---

// Searches every VR of the group SRegions first..last in the group's stretch, selects the
// longest possibility of each and places the group's regions along the stretch. True when any
// VR of the group got a possibility.
bool ResolveGroup(State& st, Integer first, Integer last);

// --- display lines (segment.cpp) ---

// Flags unresolved regions, resolves confused groups and builds SSegments. At most
// MAXNUMDISPLAYLINES segments are kept; a walk that would make more says so once.
void SegmentSequence(State& st);
// Makes possibility `sel` the selected one of VR vrIndex shown on display line lineNo and
// rebuilds SSegments around it.
void SelectVRPossibility(State& st, Integer lineNo, Integer vrIndex, Integer sel);

}  // namespace varigap

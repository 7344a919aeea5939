// How well a reference tells its taxa apart: per variable region file, the variants shared by
// several species and a leave-one-out identification of every variant by the others.
#pragma once

#include <string>
#include <vector>

#include "core/state.h"
#include "engine/nearest.h"

namespace varigap {

struct VRFileEvaluation {
    int templateNum = 0, vr = 0;  // where the file is first named
    std::string file;
    long variants = 0;  // listed, the empty variant left out
    // The taxa of each variant listed for more than one species.
    std::vector<std::string> shared;
    // Each variant removed and its bases identified by the others' nearest (`bounds`): the
    // nearest name one of its species, only its genus, neither, or none is within the bound.
    long sameSpecies = 0, sameGenus = 0, wrong = 0, unidentified = 0;
};

// Every variable region file the templates loaded in `st` name, each once, in template order.
// A file that cannot be read is reported (as by an analysis) and left out.
std::vector<VRFileEvaluation> EvaluateVRFiles(State& st, const NearestBounds& bounds);

}  // namespace varigap

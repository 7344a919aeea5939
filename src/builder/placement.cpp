// Where the program itself places a template's conserved regions in a record.
#include "builder/placement.h"

#include "engine/analysis.h"

namespace varigap::builder {

CRPlacer::CRPlacer(const Session& settings, const std::vector<bool>& regions, const std::vector<std::string>& crBases)
    : session_(std::make_unique<Session>(settings)) {
    Session& one = *session_;  // the one template being built
    one.numTemplates = 1;
    one.templateName[1] = "built";
    int crs = 0, vrs = 0, r = 0;
    for (bool isCR : regions) {
        TRegion& region = one.tRegions[1][++r];
        region.isCR = isCR;
        region.num = isCR ? ++crs : ++vrs;
        if (isCR) one.crSeq[1][crs] = crBases[static_cast<size_t>(crs - 1)];
    }
    one.numCRs[1] = crs;
    one.numVRs[1] = vrs;
    st_ = std::make_unique<State>(one);
    numCRs_ = crs;
}

std::vector<Span> CRPlacer::Place(const std::string& bases) {
    State& st = *st_;
    std::vector<Span> spans(static_cast<size_t>(numCRs_), Span{0, -1});
    try {
        RankSequence(st, bases);  // the one template's CRs are placed as the ranking places them
    } catch (const RunTimeError&) {
        return spans;  // longer than a position can reach
    }
    for (int c = 1; c <= numCRs_; ++c) {
        int first = st.crStartPos[1][c], last = st.crEndPos[1][c];
        if (IsValidPos(first) && IsValidPos(last)) spans[static_cast<size_t>(c - 1)] = Span{first, last};
    }
    return spans;
}

}  // namespace varigap::builder

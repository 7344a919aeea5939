// Find Template for reads whose primer sites were cut off: the template's outer CRs stand in
// for them just outside the read, and only what lies inside the read is counted.
#include <algorithm>

#include "core/strings.h"
#include "engine/analysis.h"
#include "engine/detail/ranking.h"

namespace varigap {

namespace {

// The template's first and last region when they are CRs (0 when not), and their bases.
struct Flanks {
    int first = 0, last = 0;
    std::string before, after;
};

Flanks FlanksOf(const State& st, int t) {
    Flanks f;
    const int n = st.session.numCRs[t] + st.session.numVRs[t];
    if (n < 1) return f;
    if (st.session.tRegions[t][1].isCR) {
        f.first = st.session.tRegions[t][1].num;
        f.before = st.session.crSeq[t][f.first];
    }
    if (st.session.tRegions[t][n].isCR && st.session.tRegions[t][n].num != f.first) {
        f.last = st.session.tRegions[t][n].num;
        f.after = st.session.crSeq[t][f.last];
    }
    return f;
}

// The bases the ranking counted for CR c of template t as placed in actSeq: found once, those
// inside the sequence; found more than once, all of them.
int CountedBases(const State& st, int t, int c) {
    if (c == 0) return 0;
    const int start = st.crStartPos[t][c], end = st.crEndPos[t][c], len = Len(st.session.crSeq[t][c]);
    if (start == POSAMBIGUOUS) return len;
    if (!IsValidPos(start)) return 0;
    if (start == 1) return std::min(len, end);
    if (end == Len(st.actSeq)) return std::min(len, Len(st.actSeq) - start + 1);
    return len;
}

// Bases of the read on display lines of one variable region identified with a listed variant.
int IdentifiedVRBases(const State& st, const ReadSpan& read) {
    int bases = 0;
    for (int n = 1; n <= st.numSSegments; ++n) {
        const SSegment& s = st.SSegments[n];
        if (s.nVRs != 1 || s.nCRs != 0 || s.unresolved || !IsValidPos(s.startPos) || !IsValidPos(s.endPos)) continue;
        const VRPossSet& set = st.VRPoss[s.region];
        if (set.selPoss < 1 || set.poss[set.selPoss].varSeq.empty()) continue;
        bases += std::max(0, std::min<int>(s.endPos, read.last) - std::max<int>(s.startPos, read.first) + 1);
    }
    return bases;
}

// Places template t's CRs along its flanks and the read.
void PlaceAround(State& st, const std::string& read, int t, ReadSpan& where, Integer& matched) {
    const Flanks f = FlanksOf(st, t);
    st.actSeq = f.before + read + f.after;
    where.first = Len(f.before) + 1;
    where.last = Len(f.before) + Len(read);
    Integer spanned;
    MatchTemplate(st, t, matched, spanned);
    matched = matched - CountedBases(st, t, f.first) - CountedBases(st, t, f.last);
}

}  // namespace

TemplateRank FindTemplateTrimmed(State& st, const std::string& read, Integer choice, ReadSpan& where) {
    st.numRankedTemplates = 0;
    for (Integer t = 1; t <= st.session.numTemplates; ++t) {
        Integer matched;
        PlaceAround(st, read, t, where, matched);
        st.actTemplate = t;
        ParseActSeq(st);
        AddToRanking(st, t, Integer(matched + IdentifiedVRBases(st, where)), Integer(Len(read)));
    }
    const Integer applied = ChooseTemplate(st, choice, st.templateRanks[1].templateNum);
    if (applied != st.session.numTemplates) {  // the last template parsed is not the one applied
        Integer matched;
        PlaceAround(st, read, applied, where, matched);
        st.actTemplate = applied;
        ParseActSeq(st);
    }
    return st.templateRanks[1];
}

}  // namespace varigap

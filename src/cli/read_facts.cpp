// The facts the outputs of a run need of one analysis, taken from the state that holds it.
#include "cli/read_facts.h"

#include <algorithm>

namespace varigap::cli {

namespace {

// The template region (1-based, template order) of CR or VR `num` of template t.
int TemplateRegion(const State& st, int t, bool isCR, int num) {
    for (int k = 1; k <= st.numCRs[t] + st.numVRs[t]; ++k)
        if (st.tRegions[t][k].isCR == isCR && st.tRegions[t][k].num == num) return k;
    return 0;
}

// Whether the template applied matched any bases of the read: a CR found (trimmed reads: a
// CR inside the read or a variable region identified there).
bool Matched(const State& st) {
    for (int i = 1; i <= std::min<int>(st.numRankedTemplates, MAXNUMTEMPLATES); ++i)
        if (st.templateRanks[i].templateNum == st.actTemplate) return st.templateRanks[i].numMatched > 0;
    return false;
}

}  // namespace

exports::ReadFacts MakeReadFacts(const State& st, const RecordAnalysis& a, size_t readLength) {
    exports::ReadFacts f;
    f.analysed = a.analysed;
    f.reverse = a.reverse;
    f.length = static_cast<int>(a.trimmed && a.analysed ? a.readLast - a.readFirst + 1 : readLength);
    if (!a.analysed) return f;
    const int t = st.actTemplate;
    f.templateNum = t;
    f.matched = Matched(st);
    f.lines.reserve(a.segmentOfLine.size());
    for (int n : a.segmentOfLine) {
        const SSegment& s = st.SSegments[n];
        exports::LineFacts l;
        l.line = n;
        if (s.nCRs + s.nVRs == 0) {
            l.kind = exports::LineKind::None;
        } else if (s.nCRs + s.nVRs > 1) {
            l.kind = exports::LineKind::Confused;
            l.first = s.region;  // the SRegions index of its first region: regions follow the template
            l.count = s.nCRs + s.nVRs;
        } else {
            const bool isCR = s.nCRs == 1;
            l.kind = isCR ? exports::LineKind::Conserved : exports::LineKind::Variable;
            l.first = TemplateRegion(st, t, isCR, s.region);
            l.count = 1;
            if (!isCR && s.region >= 1 && s.region <= MAXNUMVR) {
                const VRPossSet& set = st.VRPoss[s.region];
                if (set.selPoss >= 0 && set.selPoss <= MAXNUMPOSS) {
                    l.variant = set.poss[set.selPoss].varSeq;
                    l.taxa = set.poss[set.selPoss].taxa;
                }
            }
        }
        l.flag = '-';
        if (int first = 0, last = 0; SegmentInRead(s, a, first, last)) {
            l.flag = s.unresolved ? '?' : ':';
            l.start = first;
            l.end = last;
        }
        f.lines.push_back(std::move(l));
    }
    return f;
}

}  // namespace varigap::cli

// Confused groups: VRs that no exact filling placed, searched for the variants their stretch
// of the sequence contains, and the group's regions laid along that stretch.
#include <algorithm>

#include "core/messages.h"
#include "core/strings.h"
#include "engine/detail/parse.h"
#include "engine/detail/vr_files.h"

namespace varigap {

namespace {

// Stores up to MAXNUMPOSS contained variants of VR vrIndex as its possibilities (positions in
// actSeq from grpStart on, "<Deletion>" for the empty variant); selects the last one found.
void FindVRPossibilities(State& st, Integer grpStart, const SeqStretch& s, Integer vrIndex, Integer& count) {
    VRFile file;
    count = 0;
    if (!OpenVRFile(st, VRFileNameOf(st, vrIndex), file)) return;
    VRPossSet& set = st.VRPoss[vrIndex];
    for (int p; count < MAXNUMPOSS && (p = ReadNextContainedVariant(file, s)) >= 0;) {
        ++count;
        VRPossibility& poss = set.poss[count];
        const VRVariant& v = *file.current;
        poss.startPos = p + grpStart - 1;
        poss.endPos = poss.startPos + Len(v.bases) - 1;
        poss.taxa = v.taxa;
        if (v.bases.empty()) {
            poss.varSeq = "<Deletion>";
            Assert(st, poss.endPos == poss.startPos - 1);
        } else {
            poss.varSeq = v.bases;
        }
    }
    set.numPoss = count;
    set.selPoss = count;
}

}  // namespace

bool ResolveGroup(State& st, Integer first, Integer last) {
    Assert(st, first <= last);
    if (first == 1 && !IsValidPos(st.SRegions[1].startPos)) st.SRegions[1].startPos = 1;  // starts inside the template
    Integer grpStart = st.SRegions[first].startPos, grpEnd = st.SRegions[last].endPos;
    if (!IsValidPos(grpStart) || !IsValidPos(grpEnd)) {
        Assert(st, false);
        return false;
    }
    SeqStretch s(SubStr(st.actSeq, grpStart, grpEnd));
    bool found = false;
    for (int k = first; k <= last; ++k) {
        const SRegion& r = st.SRegions[k];
        Assert(st, (first == last && !r.isCR) || r.unresolved);
        if (r.isCR) continue;
        Integer count;
        FindVRPossibilities(st, grpStart, s, r.num, count);
        if (count > 0) found = true;
    }

    // The longest candidate of each VR is taken, the first of equally long ones.
    for (int k = first; k <= last; ++k) {
        if (st.SRegions[k].isCR) continue;
        VRPossSet& set = st.VRPoss[st.SRegions[k].num];
        if (set.numPoss > 1) {
            int sel = 1;
            for (int j = 2; j <= set.numPoss; ++j)
                if (set.poss[j].endPos - set.poss[j].startPos > set.poss[sel].endPos - set.poss[sel].startPos) sel = j;
            set.selPoss = sel;
        } else if (set.numPoss == 1) {
            Assert(st, set.selPoss == 1);
        } else {
            Assert(st, set.numPoss == 0);
        }
    }

    int pos = grpStart;
    bool pending = false;
    for (int k = first; k <= last; ++k) {
        SRegion& r = st.SRegions[k];
        if (r.isCR) {
            r.startPos = pos;
            r.endPos = std::min<int>(pos + Len(st.session.crSeq[st.actTemplate][r.num]) - 1, grpEnd);
            pos = r.endPos + 1;
        } else {
            VRPossSet& set = st.VRPoss[r.num];
            if (set.numPoss < 1 || set.selPoss < 1) {
                pending = true;  // placed by the region after it
                continue;
            }
            VRPossibility& p = set.poss[set.selPoss];
            if (p.startPos <= p.endPos) {
                r.startPos = std::max<int>(std::min<int>(p.startPos, grpEnd), pos);
                r.endPos = std::min<int>(std::max<int>(pos, p.endPos), grpEnd);
                pos = r.endPos + 1;
            } else {
                r.startPos = pos;
                r.endPos = pos - 1;
                p.startPos = r.startPos;
                p.endPos = r.endPos;
            }
        }
        if (pending) {
            st.SRegions[k - 1].endPos = r.startPos - 1;
            pending = false;
        }
    }
    return found;
}

}  // namespace varigap

// Parsing the analysed sequence along a template: its regions, and every run of consecutive
// VRs identified exactly among the variants of their files.
#include <algorithm>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/strings.h"
#include "engine/detail/parse.h"
#include "engine/detail/vr_files.h"

namespace varigap {

namespace {

// Stores the filling of a run of VRs from SRegions index `first` on as each VR's only
// possibility and places the VRs one after another from the run's start.
void StoreRunMatch(State& st, Integer first, const RunFilling& filling) {
    const int n = static_cast<int>(filling.size());
    for (int k = 1; k <= n; ++k) {
        SRegion& r = st.SRegions[first + k - 1];
        const VRVariant& v = *filling[static_cast<size_t>(k - 1)].variant;
        VRPossSet& set = st.VRPoss[r.num];
        set.numPoss = 1;
        set.selPoss = 1;
        VRPossibility& p = set.poss[1];
        p.varSeq = v.bases;
        p.taxa = v.taxa;
        p.startPos = r.startPos;
        r.endPos = r.startPos + Len(p.varSeq) - 1;
        p.endPos = r.endPos;
        if (k < n) st.SRegions[first + k].startPos = r.endPos + 1;
    }
}

// Identifies the run of VRs that starts at SRegions index `first` from its files; true when
// its VRs were identified and placed.
bool IdentifyVRRun(State& st, Integer first) {
    if (st.SRegions[first].isCR) {
        Assert(st, false);
        return false;
    }
    if (!IsValidPos(st.SRegions[first].startPos)) return false;
    int n = 0;
    while (first + n <= st.numSRegions && !st.SRegions[first + n].isCR) ++n;
    if (!IsValidPos(st.SRegions[first + n - 1].endPos)) return false;
    std::string s = SubStr(st.actSeq, st.SRegions[first].startPos, st.SRegions[first + n - 1].endPos);
    if (n > MAXNUMCONSECUTIVEVRS) {
        MsgBox(st, "Error: " + Str(n) + " consecutive variable regions. Can only handle MAXNUMCONSECUTIVEVRS = " +
                       Str(MAXNUMCONSECUTIVEVRS) + ".");
        return false;
    }
    std::vector<std::string> files;
    for (int k = 0; k < n; ++k) files.push_back(VRFileNameOf(st, st.SRegions[first + k].num));
    RunFilling filling;
    if (MatchVRRun(st, files, s, filling) != -1) {
        StoreRunMatch(st, first, filling);  // left-over bases stay between the run and the next CR
        return true;
    }
    if (st.session.showVRWarnings)
        MsgBox(st, "Cannot figure out variable region " + VRFileNameOf(st, st.SRegions[first].num));
    return false;
}

// Resets VRPoss and identifies every maximal run of consecutive VRs once.
void IdentifyVRRuns(State& st) {
    // Sets beyond vrPossInUse are reset already: for a one-VR template this spares clearing
    // over a hundred sets of fifteen possibilities for every sequence of a batch.
    for (int v = 1; v <= std::min<int>(st.vrPossInUse, MAXNUMVR); ++v) {
        VRPossSet& set = st.VRPoss[v];
        // Only possibilities up to numPoss are ever read: a set never filled needs no clearing
        // and gets no storage.
        for (int p = 1; p <= MAXNUMPOSS && set.poss.Allocated(); ++p) {
            VRPossibility& poss = set.poss[p];
            poss.startPos = poss.endPos = POSNOTFOUND;
            poss.varSeq.clear();
            poss.taxa.clear();
        }
        set.numPoss = 0;
        set.selPoss = 0;
    }
    st.vrPossInUse = st.session.numVRs[st.actTemplate];
    int num = st.numSRegions;
    int i = 1;
    while (i <= num) {
        while (i <= num && st.SRegions[i].isCR) ++i;
        if (i > num) break;
        IdentifyVRRun(st, i);
        while (i <= num && !st.SRegions[i].isCR) ++i;
    }
}

}  // namespace

void BuildSRegions(State& st) {
    int t = st.actTemplate;
    int num = st.session.numCRs[t] + st.session.numVRs[t];
    if (num > MAXNUMREGIONS) {
        MsgBox(st, "VARIGAP Error: numSRegions exceeds array bound. MAXNUMREGIONS = " + Str(MAXNUMREGIONS));
        num = MAXNUMREGIONS;
    }
    st.numSRegions = num;
    int lastVR = 0;  // the most recent VR, closed by the next CR found
    for (int i = 1; i <= num; ++i) {
        SRegion r = NewSRegion(st.session.tRegions[t][i]);
        if (r.isCR) {
            r.startPos = st.crStartPos[t][r.num];
            r.endPos = st.crEndPos[t][r.num];
            if (lastVR > 0 && IsValidPos(r.startPos)) st.SRegions[lastVR].endPos = r.startPos - 1;
        } else {
            lastVR = i;
            if (i >= 2 && IsValidPos(st.SRegions[i - 1].endPos)) r.startPos = st.SRegions[i - 1].endPos + 1;
        }
        st.SRegions[i] = r;
    }
}

void ParseSequence(State& st) {
    BuildSRegions(st);
    IdentifyVRRuns(st);
}

}  // namespace varigap

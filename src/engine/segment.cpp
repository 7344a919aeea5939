// Display lines: the parsed sequence cut into segments of resolved regions, groups and the
// bases between them, and the cut again around a chosen variant.
#include <algorithm>

#include "core/bases.h"
#include "core/messages.h"
#include "core/strings.h"
#include "engine/detail/parse.h"

namespace varigap {

namespace {

// The selected variant of VR v; with none selected, possibility 0, which is always empty.
const VRPossibility& SelectedPoss(const State& st, int v) {
    const VRPossSet& set = st.VRPoss[v];
    return set.poss[set.selPoss];
}

// Appends display lines. The display has room for MAXNUMDISPLAYLINES; a walk that would make
// more keeps the first ones and says so once.
class SegmentWriter {
public:
    explicit SegmentWriter(State& st) : st_(st) { st_.numSSegments = 0; }

    void Append(const SSegment& seg) {
        if (st_.numSSegments >= MAXNUMDISPLAYLINES) {
            if (!warned_) MsgBox(st_, "Too many display lines.  MAXNUMDISPLAYLINES = " + Str(MAXNUMDISPLAYLINES));
            warned_ = true;
            return;
        }
        ++st_.numSSegments;
        st_.SSegments[st_.numSSegments] = seg;
    }
    // The last segment appended; segment 0 while there is none.
    int LastEnd() const { return st_.SSegments[st_.numSSegments].endPos; }

private:
    State& st_;
    bool warned_ = false;
};

// A segment over the nVR + nCR regions from SRegions index `from` on. One region: its number,
// and for a closing segment its flag; several: the index of the first, unresolved; none: -1.
SSegment MakeSegment(const State& st, int start, int end, int nVR, int nCR, int from, bool closing) {
    SSegment seg;
    seg.startPos = start;
    seg.endPos = end;
    seg.nVRs = nVR;
    seg.nCRs = nCR;
    seg.region = -1;
    seg.unresolved = true;
    if (nVR + nCR == 1) {
        seg.region = st.SRegions[from].num;
        if (closing) seg.unresolved = st.SRegions[from].unresolved;
    } else if (nVR + nCR > 1) {
        seg.region = from;
    }
    return seg;
}

SSegment TailSegment(int start, int end) { return SSegment{start, end, 0, 0, -1, true}; }

// The regions collected up to region i must be searched as a group: a lone VR without a
// selected variant, several VRs, or VRs together with CRs.
bool NeedsGroupResolution(const State& st, int i, int nVR, int nCR) {
    return (nVR == 1 && nCR == 0 && SelectedPoss(st, st.SRegions[i].num).varSeq.empty()) || nVR > 1 ||
           (nCR >= 1 && nVR >= 1);
}

// For an unresolved region i: the position just before the next resolved region, or the
// length of actSeq when none follows.
Integer UnresolvedStretchEnd(const State& st, Integer i) {
    if (!st.SRegions[i].unresolved) {
        Assert(st, false);
        return st.SRegions[i].endPos;
    }
    for (int j = i; j <= st.numSRegions; ++j)
        if (!st.SRegions[j].unresolved) return st.SRegions[j].startPos - 1;
    return Len(st.actSeq);
}

// Rebuilds SSegments so that VR vrIndex occupies exactly the stretch of its selected possibility.
void ResegmentWithChoice(State& st, Integer vrIndex) {
    const VRPossibility& chosen = SelectedPoss(st, vrIndex);
    const int selStart = chosen.startPos, selEnd = chosen.endPos;
    const bool isDel = selEnd < selStart;

    for (int k = 1; k <= MAXNUMDISPLAYLINES; ++k) st.SSegments[k] = SSegment{-1, -1, 0, 0, -1, true};
    st.SSegments[0] = SSegment{1, 0, 0, 0, -1, false};  // sentinel: the last segment while there is none
    SegmentWriter out(st);

    const int len = Len(st.actSeq);
    int s = 1, lastEnd = 0, nCR = 0, nVR = 0;
    bool passed = false;
    for (int i = 1; i <= st.numSRegions; ++i) {
        const SRegion& r = st.SRegions[i];
        const bool isThe = !r.isCR && r.num == vrIndex;
        if (IsValidPos(r.startPos)) {
            if (!r.unresolved) s = r.startPos;
            else if (r.isCR) s = lastEnd + 1;
            else s = std::max<int>(SelectedPoss(st, r.num).startPos, lastEnd + 1);
            if (!passed) {
                if (isThe) s = std::max(selStart, out.LastEnd() + 1);
                else if (!isDel) s = std::min(s, selStart);
            } else if (!isDel) {
                s = std::max(s, selEnd + 1);
            }
            if (s - lastEnd > 1) {
                out.Append(MakeSegment(st, lastEnd + 1, s - 1, nVR, nCR, i - nCR - nVR, false));
                lastEnd = len;
                nCR = nVR = 0;
            }
        }
        if (r.isCR) ++nCR;
        else ++nVR;
        if (IsValidPos(r.endPos)) {
            int e;
            if (!r.unresolved) {
                e = r.endPos;
            } else if (r.isCR) {
                e = std::min<int>(out.LastEnd() + Len(st.session.crSeq[st.actTemplate][r.num]),
                                  UnresolvedStretchEnd(st, i));
            } else if (isThe) {
                Assert(st, nCR == 0 && nVR == 1);
                e = isDel ? out.LastEnd() : selEnd;
            } else {
                // Another unplaced VR: its selected variant, moved to the segment start when it
                // stands there in the sequence. Like an unplaced CR it never reaches into the
                // next placed region: a variant that runs on into it would show those bases twice.
                const VRPossibility& p = SelectedPoss(st, r.num);
                e = p.endPos;
                int sum = Len(p.varSeq) + out.LastEnd();
                if (!p.varSeq.empty() && sum != e && InStrBases(p.varSeq, SubStr(st.actSeq, s, sum), 1) == 1) e = sum;
                e = std::min<int>(e, UnresolvedStretchEnd(st, i));
            }
            if (!passed) {
                if (!isThe && !isDel) e = std::min(selStart - 1, e);
            } else if (!isDel) {
                e = std::max(selEnd, e);
            }
            lastEnd = std::max(e, out.LastEnd());
            Assert(st, lastEnd >= s - 1);
            out.Append(MakeSegment(st, s, lastEnd, nVR, nCR, i - nCR - nVR + 1, true));
            nCR = nVR = 0;
            s = lastEnd + 1;
        }
        if (isThe) passed = true;
    }
    if (st.numSSegments > 0 && out.LastEnd() < len) out.Append(TailSegment(out.LastEnd() + 1, len));
}

}  // namespace

void SegmentSequence(State& st) {
    for (int k = 1; k <= MAXNUMDISPLAYLINES; ++k) {
        SSegment& g = st.SSegments[k];
        g.startPos = g.endPos = -1;
        g.region = -1;
        g.nCRs = g.nVRs = 0;
    }
    const int num = st.numSRegions;
    for (int i = 1; i <= num; ++i) {
        SRegion& r = st.SRegions[i];
        r.unresolved = !(IsValidPos(r.startPos) && IsValidPos(r.endPos));
        if (!r.isCR && st.VRPoss[r.num].numPoss < 1) r.unresolved = true;
    }

    const int len = Len(st.actSeq);
    SegmentWriter out(st);
    int lastEnd = 0;   // last position of the last closed segment
    int curStart = 1;  // start of the stretch being collected
    int nCR = 0, nVR = 0;
    for (int i = 1; i <= num; ++i) {
        bool resolvedNow = false;
        if (IsValidPos(st.SRegions[i].startPos)) {
            curStart = st.SRegions[i].startPos;
            if (curStart - lastEnd > 1) {
                out.Append(MakeSegment(st, lastEnd + 1, curStart - 1, nVR, nCR, i - nCR - nVR, false));
                lastEnd = len;  // no further gap until the next segment closes
                nCR = nVR = 0;
            }
        }
        if (st.SRegions[i].isCR) ++nCR;
        else ++nVR;
        if (IsValidPos(st.SRegions[i].endPos) && NeedsGroupResolution(st, i, nVR, nCR)) {
            Assert(st, (nCR == 0 && nVR == 1) || st.SRegions[i].unresolved);
            int first = i - nVR - nCR + 1;
            if (ResolveGroup(st, first, i)) {
                // Walk the group again with the positions it was given.
                resolvedNow = true;
                i = first - 1;
                nCR = nVR = 0;
            }
        }
        if (!resolvedNow && IsValidPos(st.SRegions[i].endPos)) {
            lastEnd = st.SRegions[i].endPos;
            out.Append(MakeSegment(st, curStart, lastEnd, nVR, nCR, i - nCR - nVR + 1, true));
            if (nCR + nVR > 1) Assert(st, st.SRegions[i].unresolved);
            if (i < num && !IsValidPos(st.SRegions[i + 1].startPos)) st.SRegions[i + 1].startPos = lastEnd + 1;
            nCR = nVR = 0;
            curStart = lastEnd + 1;
        }
        if (curStart <= len && i == num && !resolvedNow && nCR + nVR > 0) {
            // The last region, still open, reaches to the end of the sequence. One already
            // closed keeps its end: the bases after it are no part of it, and a reparse, which
            // takes a placed region's end as it stands, would show them as an unambiguous part.
            st.SRegions[i].endPos = len;
            if (NeedsGroupResolution(st, i, nVR, nCR)) {
                int first = i - nVR - nCR + 1;
                if (ResolveGroup(st, first, i)) {
                    i = first - 1;
                    nCR = nVR = 0;
                }
            }
        }
    }
    if (st.numSSegments > 0 && out.LastEnd() < len) out.Append(TailSegment(out.LastEnd() + 1, len));
}

void SelectVRPossibility(State& st, Integer lineNo, Integer vrIndex, Integer sel) {
    if (lineNo < 1 || lineNo > st.numSSegments || st.SSegments[lineNo].nVRs != 1 || st.SSegments[lineNo].nCRs != 0 ||
        st.SSegments[lineNo].region != vrIndex) {
        Assert(st, false);
        return;
    }
    VRPossSet& set = st.VRPoss[vrIndex];
    if (sel < 1 || sel > set.numPoss) return;
    set.selPoss = sel;
    ResegmentWithChoice(st, vrIndex);
}

}  // namespace varigap

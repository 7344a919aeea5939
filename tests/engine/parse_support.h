// A template of one sequence built piece by piece, with real variable region files, for the
// parsing tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages.h"
#include "core/state.h"
#include "core/strings.h"
#include "engine/parse.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap::test {

enum class Found { Yes, No, Twice };

// Template 1 with its regions in order; actSeq is the concatenation of every region's bases;
// a CR is placed where its bases land unless it is marked as not found or found twice.
class ParseCase {
public:
    ParseCase() {
        st.vrFilePath = dir.Path();
        st.numTemplates = 1;
        st.actTemplate = 1;
    }

    ParseCase& Bases(const std::string& b) {
        st.actSeq += b;
        return *this;
    }
    ParseCase& CR(const std::string& b, Found found = Found::Yes) {
        int c = ++st.numCRs[1];
        st.crSeq[1][c] = b;
        int start = Len(st.actSeq) + 1;
        Bases(b);
        st.crStartPos[1][c] = found == Found::Yes ? start : found == Found::No ? POSNOTFOUND : POSAMBIGUOUS;
        st.crEndPos[1][c] = found == Found::Yes ? int(Len(st.actSeq)) : int(st.crStartPos[1][c]);
        return Region(true, c);
    }
    // A VR naming `file` (written with `content` unless content is "-": missing, or written
    // already), holding `b`.
    ParseCase& VR(const std::string& file, const std::string& content, const std::string& b = "") {
        int v = ++st.numVRs[1];
        st.vrFileName[1][v] = file;
        if (content != "-") dir.Write(file, content);
        Bases(b);
        return Region(false, v);
    }

    void Parse() {
        ParseSequence(st);
        SegmentSequence(st);
    }

    // One line per segment: C (a CR), V (a VR), - (no region) or G (a group), the region,
    // ":" or "?", and the stretch.
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (int k = 1; k <= st.numSSegments; ++k) {
            const SSegment& g = st.SSegments[k];
            std::string kind = g.nCRs + g.nVRs > 1 ? "G" : g.nCRs == 1 ? "C" : g.nVRs == 1 ? "V" : "-";
            out.push_back(kind + (g.region > 0 ? Str(g.region) : "") + (g.unresolved ? "?" : ":") +
                          Str(g.startPos) + "-" + Str(g.endPos));
        }
        return out;
    }
    // The selected variant of VR v and the number of its possibilities.
    std::string Sel(int v) const {
        const VRPossSet& set = st.VRPoss[v];
        return set.poss[set.selPoss].varSeq + "/" + Str(set.numPoss);
    }
    std::vector<std::string> Texts() const { return ts.msgs.Texts(); }
    int LogicErrors() const {
        int n = 0;
        for (const auto& m : ts.msgs.shown) n += m.title == "Varigap Logic Error";
        return n;
    }

    TestState ts;
    State& st = ts.st;
    TempDir dir;

private:
    ParseCase& Region(bool isCR, int num) {
        int r = st.numCRs[1] + st.numVRs[1];
        st.tRegions[1][r] = TRegion{isCR, num};
        return *this;
    }
};

// The segments cover the sequence from its first to its last base in order, each beginning
// where the one before ended (a deleted region is an empty segment).
inline ::testing::AssertionResult SegmentsTile(const State& st) {
    if (st.numSSegments == 0) return ::testing::AssertionSuccess();
    int expect = 1;
    for (int k = 1; k <= st.numSSegments; ++k) {
        const SSegment& g = st.SSegments[k];
        if (g.startPos != expect || g.endPos < g.startPos - 1)
            return ::testing::AssertionFailure() << "segment " << k << " is " << g.startPos << "-" << g.endPos
                                                 << ", expected to start at " << expect;
        expect = g.endPos + 1;
    }
    if (expect != Len(st.actSeq) + 1)
        return ::testing::AssertionFailure() << "segments end at " << expect - 1 << " of " << st.actSeq.size();
    return ::testing::AssertionSuccess();
}

}  // namespace varigap::test

// A template of one sequence built piece by piece, with real variable region files, for the
// parsing tests.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "core/strings.h"
#include "engine/detail/parse.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap::test {

// Template 1 with its regions in order; actSeq is every region's bases one after another;
// a CR is placed where its bases land unless it is given a position marker.
class ParseCase {
public:
    ParseCase() {
        session.vrFilePath = dir.Path();
        session.numTemplates = st.actTemplate = 1;
    }
    ParseCase& Bases(const std::string& b) {
        st.actSeq += b;
        return *this;
    }
    ParseCase& CR(const std::string& b, int marker = 0) {
        const int c = ++session.numCRs[1], start = Len(st.actSeq) + 1;
        session.crSeq[1][c] = b;
        st.crStartPos[1][c] = marker ? marker : start;
        st.crEndPos[1][c] = marker ? marker : start + Len(b) - 1;
        return Region(true, c).Bases(b);
    }
    // A VR naming `file`, written with `content` unless that is "-" (missing, or written
    // already), holding `b`.
    ParseCase& VR(const std::string& file, const std::string& content, const std::string& b = "") {
        const int v = ++session.numVRs[1];
        session.vrFileName[1][v] = file;
        if (content != "-") dir.Write(file, content);
        return Region(false, v).Bases(b);
    }
    void Parse() {
        ParseSequence(st);
        SegmentSequence(st);
    }
    // The segments, a space after each: C (a CR), V (a VR), - (none) or G (a group), the
    // region, ":" or "?", the stretch.
    std::string Lines() const {
        std::string out;
        for (int k = 1; k <= st.numSSegments; ++k) {
            const SSegment& g = st.SSegments[k];
            std::string kind = g.nCRs + g.nVRs > 1 ? "G" : g.nCRs == 1 ? "C" : g.nVRs == 1 ? "V" : "-";
            out += kind + (g.region > 0 ? Str(g.region) : "") + (g.unresolved ? "?" : ":") + Str(g.startPos) + "-" +
                   Str(g.endPos) + " ";
        }
        return out;
    }
    // The selected variant of VR v and the number of its possibilities.
    std::string Sel(int v) const {
        return st.VRPoss[v].poss[st.VRPoss[v].selPoss].varSeq + "/" + Str(st.VRPoss[v].numPoss);
    }
    std::vector<std::string> Texts() const { return ts.msgs.Texts(); }
    ParseCase& Region(bool isCR, int num) {
        session.tRegions[1][session.numCRs[1] + session.numVRs[1]] = TRegion{isCR, num};
        return *this;
    }

    TestState ts;
    State& st = ts.st;
    Session& session = ts.session;
    TempDir dir;
};

// n characters drawn from `alphabet`.
inline std::string Draw(std::mt19937& rng, size_t n, const std::string& alphabet) {
    std::string s;
    while (s.size() < n) s += alphabet[rng() % alphabet.size()];
    return s;
}

// "" when the segments cover the sequence in order, each beginning where the one before
// ended (a deleted region is an empty segment), and every group is marked unresolved.
inline std::string SegmentFault(const State& st) {
    int expect = 1;
    for (int k = 1; k <= st.numSSegments; ++k) {
        const SSegment& g = st.SSegments[k];
        if (g.startPos != expect || g.endPos < g.startPos - 1 || (g.nCRs + g.nVRs > 1 && !g.unresolved))
            return "segment " + Str(k) + " " + Str(g.startPos) + "-" + Str(g.endPos) + " after " + Str(expect - 1);
        expect = g.endPos + 1;
    }
    return st.numSSegments == 0 || expect == Len(st.actSeq) + 1 ? "" : "segments end at " + Str(expect - 1);
}

}  // namespace varigap::test

// The analysis of one sequence, as Find Template does it, and the reparse requests after it.
#include "cli/analysis.h"

#include "core/messages.h"
#include "core/strings.h"
#include "engine/parse.h"
#include "engine/ranking.h"
#include "output/display_lines.h"

namespace varigap::cli {

int FindTemplateNumber(const State& st, const std::string& choice) {
    bool digits = !choice.empty() && choice.size() <= 5;
    for (char c : choice) digits = digits && c >= '0' && c <= '9';
    if (digits) {
        int n = std::stoi(choice);
        if (n >= 1 && n <= st.numTemplates) return n;
    }
    for (int t = 1; t <= st.numTemplates; ++t)
        if (st.templateName[t] == choice) return t;
    return 0;
}

namespace {

// Forgets the previous record's results, so that nothing stale is ever shown or written.
void ClearResults(State& st) {
    st.actTemplate = 0;
    st.numRankedTemplates = 0;
    st.numSRegions = 0;
    st.numSSegments = 0;
}

void Reparse(State& st, const ReparseRequest& r) {
    const std::string what = "--reparse " + Str(r.line) + ":" + Str(r.sel);
    if (r.line > st.numSSegments || st.numSSegments < 1) {
        MsgBox(st, what + " ignored: there is no display line " + Str(r.line) + ".");
        return;
    }
    const SSegment& s = st.SSegments[r.line];
    if (s.nVRs != 1 || s.nCRs != 0 || s.region < 1 || s.region > st.numVRs[st.actTemplate]) {
        MsgBox(st, what + " ignored: display line " + Str(r.line) + " is not a variable region.");
        return;
    }
    if (r.sel < 1 || r.sel > st.VRPoss[s.region].numPoss) {
        MsgBox(st, what + " ignored: the variable region of display line " + Str(r.line) + " has " +
                       Str(st.VRPoss[s.region].numPoss) + " possibilities.");
        return;
    }
    SelectVRPossibility(st, r.line, s.region, r.sel);
}

}  // namespace

RecordAnalysis AnalyzeActSeq(State& st, int templateChoice, const std::vector<ReparseRequest>& reparse) {
    RecordAnalysis a;
    ClearResults(st);
    if (st.actSeq.empty() || st.numTemplates < 1) return a;
    a.analysed = Trapped(st, [&] {
        Integer best = RankTemplates(st);
        st.actTemplate = (templateChoice >= 1 && templateChoice <= st.numTemplates) ? Integer(templateChoice) : best;
        ParseSequence(st);
        SegmentSequence(st);
    });
    if (!a.analysed) {
        ClearResults(st);
        return a;
    }
    for (const auto& r : reparse)
        if (!Trapped(st, [&] { Reparse(st, r); })) break;
    a.lines = ComputeDisplayLines(st, &a.segmentOfLine);
    return a;
}

}  // namespace varigap::cli

// The analysis of one sequence, as Find Template does it, and the reparse requests after it.
#include "cli/analysis.h"

#include "core/messages.h"
#include "core/strings.h"
#include "engine/analysis.h"
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
    const ReparseResult result = ReparseLine(st, r.line, r.sel);
    if (result != ReparseResult::Done)
        MsgBox(st, "--reparse " + Str(r.line) + ":" + Str(r.sel) + " ignored: " + ReparseRefusal(st, result, r.line));
}

}  // namespace

RecordAnalysis AnalyzeActSeq(State& st, int templateChoice, const std::vector<ReparseRequest>& reparse) {
    RecordAnalysis a;
    ClearResults(st);
    if (st.actSeq.empty() || st.numTemplates < 1) return a;
    a.analysed = Trapped(st, [&] { FindTemplate(st, templateChoice); });
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

// The analysis of one read, as Find Template does it, on the strand asked for, and the reparse
// requests after it. Every call into the engine is made here.
#include "cli/analysis.h"

#include "core/complement.h"
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

bool SegmentInRead(const SSegment& seg, const RecordAnalysis& a, int& first, int& last) {
    first = seg.startPos;
    last = seg.endPos;
    if (!a.trimmed) return true;
    if (last < first) {  // an empty stretch: a deleted variable region
        if (first < a.readFirst || first > a.readLast + 1) return false;
    } else {
        first = std::max(first, a.readFirst);
        last = std::min(last, a.readLast);
        if (first > last) return false;
    }
    first -= a.readFirst - 1;
    last -= a.readFirst - 1;
    return true;
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

// Ranks the templates on one strand of the read; trimmed, also parses it along the template
// applied. The entry of the best template.
TemplateRank RankStrand(State& st, const std::string& read, const ReadSettings& s, RecordAnalysis& a) {
    if (s.primersTrimmed) {
        ReadSpan where{};
        const TemplateRank best = FindTemplateTrimmed(st, read, Integer(s.templateChoice), where);
        a.readFirst = where.first;
        a.readLast = where.last;
        return best;
    }
    st.actSeq = read;
    RankActSeq(st);
    return st.templateRanks[1];
}

// Find Template on the strand the settings ask for.
void FindOnStrand(State& st, const std::string& bases, const ReadSettings& s, RecordAnalysis& a) {
    if (s.orient == Orient::Auto) {
        // The reverse strand first, so that on a tie the forward one is left in place.
        const std::string reverse = ReverseComplement(bases);
        const TemplateRank onReverse = RankStrand(st, reverse, s, a);
        const TemplateRank onForward = RankStrand(st, bases, s, a);
        a.reverse = IsBetterRank(st, onReverse, onForward);
        if (a.reverse) RankStrand(st, reverse, s, a);
    } else {
        const std::string read = st.actSeq;  // as oriented; actSeq itself is rewritten
        RankStrand(st, read, s, a);
    }
    if (!s.primersTrimmed) {
        st.actTemplate = ChooseTemplate(st, Integer(s.templateChoice), st.templateRanks[1].templateNum);
        ParseActSeq(st);
    }
}

// Marks the lines of CRs beside a trimmed read ("3-[C]-") and cuts lines that reach beside it.
void TrimLines(const State& st, RecordAnalysis& a) {
    for (size_t i = 0; i < a.lines.size(); ++i) {
        const SSegment& s = st.SSegments[a.segmentOfLine[i]];
        const size_t shown = static_cast<size_t>(std::max(0, s.endPos - s.startPos + 1));
        std::string& line = a.lines[i];
        const std::string number = Str(a.segmentOfLine[i]);
        const std::string mark = line.substr(number.size() + 1, line.size() - shown - number.size() - 2);
        int first = 0, last = 0;
        if (!SegmentInRead(s, a, first, last)) line = number + "-" + mark + "-";
        else
            line = line.substr(0, line.size() - shown) +
                   SubStr(st.actSeq, first + a.readFirst - 1, last + a.readFirst - 1);
    }
}

}  // namespace

RecordAnalysis AnalyzeRead(State& st, const std::string& bases, const ReadSettings& settings) {
    RecordAnalysis a;
    a.trimmed = settings.primersTrimmed;
    ClearResults(st);
    a.reverse = settings.orient == Orient::Reverse;
    st.actSeq = a.reverse ? ReverseComplement(bases) : bases;
    if (st.actSeq.empty() || st.numTemplates < 1) return a;
    a.analysed = Trapped(st, [&] { FindOnStrand(st, bases, settings, a); });
    if (!a.analysed) {
        ClearResults(st);
        return a;
    }
    for (const auto& r : settings.reparse)
        if (!Trapped(st, [&] { Reparse(st, r); })) break;
    a.lines = ComputeDisplayLines(st, &a.segmentOfLine);
    if (a.trimmed) TrimLines(st, a);
    return a;
}

}  // namespace varigap::cli

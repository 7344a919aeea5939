// The analysis of one read, as Find Template does it, on the strand asked for, and the reparse
// requests after it. Every call into the engine is made here.
#include "cli/analysis.h"

#include "core/complement.h"
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

int ChosenTemplate(const State& st, int choice, Integer best) {
    return (choice >= 1 && choice <= st.numTemplates) ? choice : int(best);
}

// Ranks the templates on actSeq and parses it along the chosen one (else the best).
void RankAndParse(State& st, int templateChoice) {
    st.actTemplate = ChosenTemplate(st, templateChoice, RankTemplates(st));
    ParseSequence(st);
    SegmentSequence(st);
}

// ---------------------------------------------------------------- reads without primers

// A trimmed read is analysed between the bases of the template's first and last CR, which
// stand for the primer sites cut off: the read is then placed as if whole.
struct Flanks {
    int first = 0, last = 0;  // the template's first and last region when they are CRs, else 0
    std::string before, after;
};

Flanks FlanksOf(const State& st, int t) {
    Flanks f;
    const int n = st.numCRs[t] + st.numVRs[t];
    if (n < 1) return f;
    if (st.tRegions[t][1].isCR) {
        f.first = st.tRegions[t][1].num;
        f.before = st.crSeq[t][f.first];
    }
    if (st.tRegions[t][n].isCR && st.tRegions[t][n].num != f.first) {
        f.last = st.tRegions[t][n].num;
        f.after = st.crSeq[t][f.last];
    }
    return f;
}

// The bases the ranking counted for CR c of template t as placed in actSeq (found once: those
// inside the sequence; found more than once: all of them).
int CountedBases(const State& st, int t, int c) {
    const int start = st.crStartPos[t][c], end = st.crEndPos[t][c], len = Len(st.crSeq[t][c]);
    if (start == POSAMBIGUOUS) return len;
    if (!IsValidPos(start)) return 0;
    if (start == 1) return std::min(len, end);
    if (end == Len(st.actSeq)) return std::min(len, Len(st.actSeq) - start + 1);
    return len;
}

// Bases of the read in variable regions identified with a listed variant.
int IdentifiedVRBases(const State& st, const RecordAnalysis& a) {
    int bases = 0;
    for (int n = 1; n <= st.numSSegments; ++n) {
        const SSegment& s = st.SSegments[n];
        if (KindOf(s) != LineKind::Variable || s.unresolved || !IsValidPos(s.startPos) || !IsValidPos(s.endPos))
            continue;
        const VRPossSet& set = st.VRPoss[s.region];
        if (set.selPoss < 1 || set.poss[set.selPoss].varSeq.empty()) continue;
        int first = 0, last = 0;
        if (SegmentInRead(s, a, first, last) && last >= first) bases += last - first + 1;
    }
    return bases;
}

void PlaceTrimmed(State& st, const std::string& read, int t, RecordAnalysis& a) {
    const Flanks f = FlanksOf(st, t);
    st.actSeq = f.before + read + f.after;
    a.readFirst = Len(f.before) + 1;
    a.readLast = Len(f.before) + Len(read);
}

// Ranks every template on the trimmed read: a template's matched bases are those of its CRs
// found inside the read and of the read's variable regions identified with a listed variant,
// out of the read's length; the CRs taken to lie beside the read never count. Leaves actSeq
// parsed along the chosen template (else the best) and returns the best entry.
TemplateRank RankTrimmed(State& st, const std::string& read, int templateChoice, RecordAnalysis& a) {
    st.numRankedTemplates = 0;
    for (int t = 1; t <= st.numTemplates; ++t) {
        PlaceTrimmed(st, read, t, a);
        Integer matched, spanned;
        MatchTemplate(st, t, matched, spanned);
        const Flanks f = FlanksOf(st, t);
        int inside =
            matched - (f.first ? CountedBases(st, t, f.first) : 0) - (f.last ? CountedBases(st, t, f.last) : 0);
        st.actTemplate = t;
        ParseSequence(st);
        SegmentSequence(st);
        inside += IdentifiedVRBases(st, a);
        AddToRanking(st, t, Integer(inside), Integer(Len(read)));
    }
    const int chosen = ChosenTemplate(st, templateChoice, st.templateRanks[1].templateNum);
    if (chosen != st.numTemplates) {  // the last template parsed is not the one kept
        PlaceTrimmed(st, read, chosen, a);
        Integer matched, spanned;
        MatchTemplate(st, chosen, matched, spanned);
        st.actTemplate = chosen;
        ParseSequence(st);
        SegmentSequence(st);
    }
    return st.templateRanks[1];
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

// Ranks (and, trimmed, parses) one strand; the entry of its best template.
TemplateRank RankStrand(State& st, const std::string& read, const ReadSettings& s, RecordAnalysis& a) {
    if (s.primersTrimmed) return RankTrimmed(st, read, s.templateChoice, a);
    st.actSeq = read;
    RankTemplates(st);
    return st.templateRanks[1];
}

}  // namespace

RecordAnalysis AnalyzeRead(State& st, const std::string& bases, const ReadSettings& settings) {
    RecordAnalysis a;
    a.trimmed = settings.primersTrimmed;
    ClearResults(st);
    a.reverse = settings.orient == Orient::Reverse;
    st.actSeq = a.reverse ? ReverseComplement(bases) : bases;
    if (st.actSeq.empty() || st.numTemplates < 1) return a;
    a.analysed = Trapped(st, [&] {
        if (settings.orient == Orient::Auto) {
            // The reverse strand first, so that a tie leaves the forward one in place.
            const std::string reverse = ReverseComplement(bases);
            const TemplateRank onReverse = RankStrand(st, reverse, settings, a);
            const TemplateRank onForward = RankStrand(st, bases, settings, a);
            a.reverse = IsBetterRank(st, onReverse, onForward);
            if (a.reverse) RankStrand(st, reverse, settings, a);
            if (!settings.primersTrimmed) {
                st.actTemplate = ChosenTemplate(st, settings.templateChoice, st.templateRanks[1].templateNum);
                ParseSequence(st);
                SegmentSequence(st);
            }
        } else if (settings.primersTrimmed) {
            RankTrimmed(st, std::string(st.actSeq), settings.templateChoice, a);
        } else {
            RankAndParse(st, settings.templateChoice);
        }
    });
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

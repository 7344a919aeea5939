// Output files: header, FEATURES block of the display lines, ORIGIN block of the bases.
#include "output/output_file.h"

#include "core/messages.h"
#include "core/strings.h"
#include "output/display_lines.h"

namespace varigap {

namespace {

const std::string kIndent4(4, ' ');
const std::string kIndent8(8, ' ');

// A line that fixes where the annotation starts: it has bases and is a resolved conserved
// region or a variable region (resolved or not).
bool IsAnchor(const SSegment& s) {
    if (s.endPos < s.startPos) return false;
    LineKind kind = KindOf(s);
    return (kind == LineKind::Conserved && !s.unresolved) || kind == LineKind::Variable;
}

void WriteFeature(State& st, TextWriter& out, const SSegment& s, bool includeTaxa) {
    out.WriteLine(kIndent4 + FeatureRange(s));
    switch (KindOf(s)) {
        case LineKind::Conserved: out.WriteLine(kIndent8 + "Conserved Region #" + Str(s.region)); break;
        case LineKind::Variable: {
            out.WriteLine(kIndent8 + "Variable Region: \"" + st.vrFileName[st.actTemplate][s.region] + "\"");
            if (includeTaxa) {
                const VRPossSet& vr = st.VRPoss[s.region];
                out.WriteLine(kIndent8 + vr.poss[vr.selPoss].taxa);
            }
            break;
        }
        case LineKind::Confused:
        case LineKind::None:
            out.WriteLine(kIndent8 + "Confused Region: " + Str(s.nCRs) + " Conserved Regions and " + Str(s.nVRs) +
                          " Variable Regions.");
            break;
    }
}

}  // namespace

std::string PaddedNumber(State& st, Integer num, Integer maxNum) {
    std::string s = Str(num);
    const std::string m = Str(maxNum);
    Assert(st, s.size() <= m.size());
    if (s.size() < m.size()) s.insert(0, m.size() - s.size(), ' ');
    Assert(st, s.size() == m.size());
    return s;
}

std::vector<int> AnnotatedSegments(const State& st) {
    std::vector<int> segments;
    const int count = st.numSSegments;
    int k = 1;
    while (!IsAnchor(st.SSegments[k]) && k < count) ++k;
    if (!IsAnchor(st.SSegments[k])) return segments;
    // Lines before the first anchor are never written; every line after it is.
    const Integer seqLen = Len(st.actSeq);
    for (int j = k; j <= count; ++j) {
        const SSegment& s = st.SSegments[j];
        if (IsValidPos(s.startPos) && IsValidPos(s.endPos) && s.startPos <= seqLen) segments.push_back(j);
    }
    return segments;
}

std::string FeatureRange(const SSegment& s) {
    if (s.startPos <= s.endPos) return Str(s.startPos) + ".." + Str(s.endPos);
    return Str(s.endPos) + "[DEL]" + Str(s.startPos);
}

void WriteAnnotation(State& st, TextWriter& out, bool includeTaxa) {
    for (int j : AnnotatedSegments(st)) WriteFeature(st, out, st.SSegments[j], includeTaxa);
}

void WriteSequence(State& st, TextWriter& out) {
    const Integer len = Len(st.actSeq);
    // The position runs in a plain int: the step past the last line of a sequence of
    // nearly 32767 bases must not overflow.
    int p = 1;
    while (p <= len) {
        std::string line = PaddedNumber(st, p, len);
        for (int group = 0; group < 6 && p <= len; ++group, p += 10) line += " " + SubStr(st.actSeq, p, p + 9);
        out.WriteLine(line);
    }
}

void WriteOutputFileText(State& st, TextWriter& out, const std::string& fileName, const std::string& seqName,
                         bool includeTaxa, bool complemented) {
    out.WriteLine("# Varigap Output File \"" + fileName + "\"");
    out.WriteLine("# Analyzed with template \"" + st.templateName[st.actTemplate] + "\"");
    // The FEATURES block cannot tell a sure placement from a doubtful one, nor the complement
    // from the sequence as read; these comment lines can, and readers of the format skip them.
    if (complemented) out.WriteLine("# Reverse complement of the sequence as read");
    std::string uncertain;
    for (int j : AnnotatedSegments(st))
        if (st.SSegments[j].unresolved) uncertain += (uncertain.empty() ? "" : ", ") + FeatureRange(st.SSegments[j]);
    if (!uncertain.empty()) out.WriteLine("# Uncertain placements (\"?\"): " + uncertain);
    out.WriteLine("");
    out.WriteLine("NAME  " + seqName);
    out.WriteLine("    (bases 1 to " + Str(Len(st.actSeq)) + ")");
    out.WriteLine("");
    out.WriteLine("FEATURES");
    WriteAnnotation(st, out, includeTaxa);
    out.WriteLine("");
    out.WriteLine("ORIGIN");
    WriteSequence(st, out);
}

}  // namespace varigap

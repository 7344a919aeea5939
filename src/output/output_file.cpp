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

void WriteFeature(const State& st, const ReadResult& r, TextWriter& out, const SSegment& s, bool includeTaxa) {
    out.WriteLine(kIndent4 + FeatureRange(s));
    switch (KindOf(s)) {
        case LineKind::Conserved: out.WriteLine(kIndent8 + "Conserved Region #" + Str(s.region)); break;
        case LineKind::Variable: {
            out.WriteLine(kIndent8 + "Variable Region: \"" + st.session.vrFileName[r.templateNum][s.region] + "\"");
            if (includeTaxa) {
                const ResultVariant* selected = r.Selected(s.region);
                const ResultVR* vr = s.region >= 1 && s.region <= static_cast<int>(r.vrs.size())
                                         ? &r.vrs[static_cast<size_t>(s.region - 1)]
                                         : nullptr;
                // A nearest identification names every equally near variant's taxa.
                const std::string_view taxa = vr && vr->identified == Identified::Nearest ? vr->taxa
                                              : selected                                  ? selected->taxa
                                                                                          : std::string_view();
                out.WriteLine(kIndent8 + std::string(taxa));
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

std::string PaddedNumber(const State& st, Integer num, Integer maxNum) {
    std::string s = Str(num);
    const std::string m = Str(maxNum);
    Assert(st, s.size() <= m.size());
    if (s.size() < m.size()) s.insert(0, m.size() - s.size(), ' ');
    Assert(st, s.size() == m.size());
    return s;
}

std::vector<int> AnnotatedSegments(const ReadResult& r) {
    std::vector<int> segments;
    const int count = static_cast<int>(r.segments.size());
    auto segment = [&](int n) -> const SSegment& { return r.segments[static_cast<size_t>(n - 1)]; };
    if (count < 1) return segments;
    int k = 1;
    while (!IsAnchor(segment(k)) && k < count) ++k;
    if (!IsAnchor(segment(k))) return segments;
    // Lines before the first anchor are never written; every line after it is.
    const Integer seqLen = Len(r.sequence);
    for (int j = k; j <= count; ++j) {
        const SSegment& s = segment(j);
        if (IsValidPos(s.startPos) && IsValidPos(s.endPos) && s.startPos <= seqLen) segments.push_back(j);
    }
    return segments;
}

std::string WhyNothingToAnnotate(const State& st, const ReadResult& r) {
    if (!r.analysed) return "no template could be applied to it";
    const std::string name = "template \"" + st.session.templateName[r.templateNum] + "\"";
    if (!r.matched) return "no conserved region of " + name + " was found in it";
    if (AnnotatedSegments(r).empty()) return "no region of " + name + " could be placed along it";
    return "";
}

std::string FeatureRange(const SSegment& s) {
    if (s.startPos <= s.endPos) return Str(s.startPos) + ".." + Str(s.endPos);
    return Str(s.endPos) + "[DEL]" + Str(s.startPos);
}

void WriteAnnotation(const State& st, const ReadResult& r, TextWriter& out, bool includeTaxa) {
    for (int j : AnnotatedSegments(r)) WriteFeature(st, r, out, r.segments[static_cast<size_t>(j - 1)], includeTaxa);
}

void WriteSequence(const State& st, std::string_view sequence, TextWriter& out) {
    const Integer len = Len(sequence);
    // The position runs in a plain int: the step past the last line of a sequence of
    // nearly 32767 bases must not overflow.
    int p = 1;
    while (p <= len) {
        std::string line = PaddedNumber(st, p, len);
        for (int group = 0; group < 6 && p <= len; ++group, p += 10) line += " " + SubStr(sequence, p, p + 9);
        out.WriteLine(line);
    }
}

void WriteOutputFileText(const State& st, const ReadResult& r, TextWriter& out, const std::string& fileName,
                         const std::string& seqName, bool includeTaxa) {
    out.WriteLine("# Varigap Output File \"" + fileName + "\"");
    out.WriteLine("# Analyzed with template \"" + st.session.templateName[r.templateNum] + "\"");
    // The FEATURES block cannot tell a sure placement from a doubtful one, nor the complement
    // from the sequence as read; these comment lines can, and readers of the format skip them.
    if (r.reverse) out.WriteLine("# Reverse complement of the sequence as read");
    std::string uncertain;
    for (int j : AnnotatedSegments(r)) {
        const SSegment& s = r.segments[static_cast<size_t>(j - 1)];
        if (s.unresolved) uncertain += (uncertain.empty() ? "" : ", ") + FeatureRange(s);
    }
    if (!uncertain.empty()) out.WriteLine("# Uncertain placements (\"?\"): " + uncertain);
    // Nearest identification only: which variable regions no listed variant equals.
    std::string nearest;
    for (int j : AnnotatedSegments(r)) {
        const SSegment& s = r.segments[static_cast<size_t>(j - 1)];
        if (KindOf(s) != LineKind::Variable || s.region < 1 || s.region > static_cast<int>(r.vrs.size())) continue;
        const ResultVR& vr = r.vrs[static_cast<size_t>(s.region - 1)];
        if (vr.identified == Identified::Nearest)
            nearest += (nearest.empty() ? "" : ", ") + FeatureRange(s) + " (" + Str(vr.diffs) + " differences)";
    }
    if (!nearest.empty()) out.WriteLine("# Nearest variants (\"~\"): " + nearest);
    out.WriteLine("");
    out.WriteLine("NAME  " + seqName);
    out.WriteLine("    (bases 1 to " + Str(Len(r.sequence)) + ")");
    out.WriteLine("");
    out.WriteLine("FEATURES");
    WriteAnnotation(st, r, out, includeTaxa);
    out.WriteLine("");
    out.WriteLine("ORIGIN");
    WriteSequence(st, r.sequence, out);
}

}  // namespace varigap

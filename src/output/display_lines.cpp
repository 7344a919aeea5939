// The display lines of an analysis: number, flag, mark, flag and bases per segment.
#include "output/display_lines.h"

#include "core/messages.h"
#include "core/strings.h"

namespace varigap {

LineKind KindOf(const SSegment& s) {
    if (s.nCRs == 1 && s.nVRs == 0) return LineKind::Conserved;
    if (s.nCRs == 0 && s.nVRs == 1) return LineKind::Variable;
    return LineKind::Confused;
}

bool DisplayLineText(State& st, Integer n, std::string& text) {
    const SSegment& s = st.SSegments[n];
    if (!IsValidPos(s.startPos) || !IsValidPos(s.endPos)) {
        Assert(st, false);
        text.clear();
        return false;
    }
    std::string mark;
    switch (KindOf(s)) {
        case LineKind::Conserved: mark = "[C]"; break;
        case LineKind::Variable: mark = "{V}"; break;
        case LineKind::Confused: mark = Str(s.nCRs) + "," + Str(s.nVRs); break;
    }
    const char* flag = s.unresolved ? "?" : ":";
    text = Str(n) + flag + mark + flag + SubStr(st.actSeq, s.startPos, s.endPos);
    return true;
}

std::vector<std::string> ComputeDisplayLines(State& st, std::vector<int>* segmentOfLine) {
    std::vector<std::string> lines;
    if (segmentOfLine) segmentOfLine->clear();
    // A run-time error ends the list; the lines made so far stay, as on screen.
    Trapped(st, [&] {
        int prevEnd = 0;
        for (int n = 1; n <= st.numSSegments; ++n) {
            std::string text;
            if (DisplayLineText(st, n, text)) {
                lines.push_back(std::move(text));
                if (segmentOfLine) segmentOfLine->push_back(n);
            }
            // The lines must tile the sequence without gap or overlap.
            const SSegment& s = st.SSegments[n];
            Assert(st, s.startPos == prevEnd + 1);
            prevEnd = s.endPos;
        }
    });
    return lines;
}

}  // namespace varigap

// The display lines of an analysis: number, flag, mark, flag and bases per segment.
#include "output/display_lines.h"

#include "core/messages.h"
#include "core/strings.h"

namespace varigap {

bool DisplayLineText(State& st, Integer n, std::string& text) {
    const SSegment& s = st.SSegments[n];
    if (!IsValidPos(s.startPos) || !IsValidPos(s.endPos)) {
        Assert(st, false);
        text.clear();
        return false;
    }
    const char* flag = s.unresolved ? "?" : ":";
    text = Str(n) + flag + LineMark(s) + flag + SubStr(st.actSeq, s.startPos, s.endPos);
    return true;
}

std::vector<int> DisplayedSegments(const State& st, bool report) {
    std::vector<int> shown;
    // A run-time error ends the list; the lines made so far stay, as on screen.
    Trapped(st, [&] {
        int prevEnd = 0;
        for (int n = 1; n <= st.numSSegments; ++n) {
            const SSegment& s = st.SSegments[n];
            if (IsValidPos(s.startPos) && IsValidPos(s.endPos)) shown.push_back(n);
            else Assert(st, !report);
            // The lines must tile the sequence without gap or overlap.
            Assert(st, !report || s.startPos == prevEnd + 1);
            prevEnd = s.endPos;
        }
    });
    return shown;
}

std::vector<std::string> ComputeDisplayLines(State& st, std::vector<int>* segmentOfLine) {
    std::vector<int> shown = DisplayedSegments(st);
    std::vector<std::string> lines;
    for (int n : shown) {
        const SSegment& s = st.SSegments[n];
        const char* flag = s.unresolved ? "?" : ":";
        lines.push_back(Str(n) + flag + LineMark(s) + flag + SubStr(st.actSeq, s.startPos, s.endPos));
    }
    if (segmentOfLine) *segmentOfLine = std::move(shown);
    return lines;
}

}  // namespace varigap

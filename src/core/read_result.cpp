// The result of analysing one read.
#include "core/read_result.h"

#include <algorithm>
#include <charconv>

#include "core/strings.h"

namespace varigap {

LineKind KindOf(const SSegment& s) {
    if (s.nCRs == 1 && s.nVRs == 0) return LineKind::Conserved;
    if (s.nCRs == 0 && s.nVRs == 1) return LineKind::Variable;
    return s.nCRs == 0 && s.nVRs == 0 ? LineKind::None : LineKind::Confused;
}

void AppendLineMark(const SSegment& s, std::string& out) {
    switch (KindOf(s)) {
        case LineKind::Conserved: out += "[C]"; break;
        case LineKind::Variable: out += "{V}"; break;
        default: out += Str(s.nCRs) + "," + Str(s.nVRs);
    }
}

std::string LineMark(const SSegment& s) {
    std::string mark;
    AppendLineMark(s, mark);
    return mark;
}

const char* ReadResult::Mates(int start, int end) const {
    if (mate1Last == 0) return "";
    int first = 0, last = 0;
    AsGiven(std::min(start, end), std::max(start, end), first, last);
    const bool one = first <= mate1Last, two = last >= mate2First;
    return one && two ? "12" : two ? "2" : "1";
}

bool ReadResult::InRead(int start, int end, int& first, int& last) const {
    first = start;
    last = end;
    if (!trimmed) return true;
    if (last < first) {  // an empty stretch: a deleted variable region
        if (first < readFirst || first > readLast + 1) return false;
    } else {
        first = std::max(first, readFirst);
        last = std::min(last, readLast);
        if (first > last) return false;
    }
    first -= readFirst - 1;
    last -= readFirst - 1;
    return true;
}

std::string_view ReadResult::Bases(const ResultLine& l) const {
    if (l.flag == '-') return {};
    // Positions 1-based and inclusive, cut to the sequence as SubStr cuts them.
    const long len = static_cast<long>(sequence.size());
    const long first = std::max<long>(1, l.start + readFirst - 1), last = std::min<long>(len, l.end + readFirst - 1);
    if (first > len || last < first) return {};
    return std::string_view(sequence).substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
}

void ReadResult::AppendText(const ResultLine& l, std::string& out) const {
    // Written in place: a run writes a line for every line of every read.
    char number[24];
    out.append(number, std::to_chars(number, number + sizeof number, l.line).ptr);
    out += l.flag;
    AppendLineMark(segments[static_cast<size_t>(l.line - 1)], out);
    out += l.flag;
    out += Bases(l);
}

std::string ReadResult::Text(const ResultLine& l) const {
    std::string text;
    AppendText(l, text);
    return text;
}

const ResultVariant* ReadResult::Selected(int v) const {
    if (v < 1 || v > static_cast<int>(vrs.size())) return nullptr;
    const ResultVR& set = vrs[static_cast<size_t>(v - 1)];
    if (set.selPoss < 1 || set.selPoss > static_cast<int>(set.poss.size())) return nullptr;
    return &set.poss[static_cast<size_t>(set.selPoss - 1)];
}

namespace {
// "" as a view that points somewhere: callers may hand its data() to memchr and memcpy.
constexpr std::string_view kNone = "";
}  // namespace

std::string_view ReadResult::Variant(const ResultLine& l) const {
    const ResultVariant* p = l.kind == LineKind::Variable ? Selected(l.vr) : nullptr;
    return p ? std::string_view(p->variant) : kNone;
}

std::string_view ReadResult::Taxa(const ResultLine& l) const {
    if (l.kind == LineKind::Variable && l.vr >= 1 && l.vr <= static_cast<int>(vrs.size()) &&
        vrs[static_cast<size_t>(l.vr - 1)].identified == Identified::Nearest)
        return vrs[static_cast<size_t>(l.vr - 1)].taxa;  // every equally near variant's
    const ResultVariant* p = l.kind == LineKind::Variable ? Selected(l.vr) : nullptr;
    return p ? std::string_view(p->taxa) : kNone;
}

size_t ReadResult::Bytes() const {
    size_t bytes = sizeof(ReadResult) + sequence.capacity() + ranking.capacity() * sizeof(TemplateRank) +
                   regions.capacity() * sizeof(SRegion) + segments.capacity() * sizeof(SSegment) +
                   lines.capacity() * sizeof(ResultLine) + vrs.capacity() * sizeof(ResultVR);
    for (const ResultVR& v : vrs) {
        bytes += v.poss.capacity() * sizeof(ResultVariant);
        bytes += v.taxa.capacity() + v.shared.capacity();
        for (const ResultVariant& p : v.poss) bytes += p.variant.capacity() + p.taxa.capacity();
    }
    return bytes;
}

}  // namespace varigap

// Mates that do not overlap, analysed together.
#include "run/mates_apart.h"

#include <algorithm>

#include "core/complement.h"

namespace varigap::run {

void JoinMates(std::string& bases, std::string& quals, const std::string& bases2, const std::string& quals2) {
    const bool qualities = quals.size() == bases.size() && quals2.size() == bases2.size();
    bases += ReverseComplement(bases2);
    if (qualities) quals.append(quals2.rbegin(), quals2.rend());
    else quals.clear();
}

namespace {

void NotCovered(ReadResult& r, ResultLine& l) {
    l.flag = '-';
    if (l.kind == LineKind::Variable && l.vr >= 1 && l.vr <= static_cast<int>(r.vrs.size()))
        r.vrs[static_cast<size_t>(l.vr - 1)].selPoss = 0;
}

}  // namespace

void MarkUnreadGap(ReadResult& r, int mate1Length) {
    r.mate1Last = mate1Length;
    r.mate2First = mate1Length + 1;
    for (ResultLine& l : r.lines) {
        if (l.flag == '-') continue;
        // An empty stretch (a deleted variable region) lies between the bases on both sides.
        int first = 0, last = 0;
        r.AsGiven(std::min(l.start, l.end), std::max(l.start, l.end), first, last);
        if (first <= mate1Length && last > mate1Length) NotCovered(r, l);
    }
    // An uncertain line beside the gap is bounded by what was not read: neither is it covered.
    for (bool more = true; more;) {
        more = false;
        for (size_t i = 0; i < r.lines.size(); ++i) {
            const bool besideGap =
                (i > 0 && r.lines[i - 1].flag == '-') || (i + 1 < r.lines.size() && r.lines[i + 1].flag == '-');
            if (r.lines[i].flag == '?' && besideGap) {
                NotCovered(r, r.lines[i]);
                more = true;
            }
        }
    }
}

}  // namespace varigap::run

// Template ranking: CR placement along each template and the ordered list of templates.
#include "engine/detail/ranking.h"

#include "core/messages.h"
#include "core/strings.h"
#include "engine/analysis.h"
#include "engine/detail/lpam.h"

namespace varigap {

namespace {

using CROrder = Table<Integer, MAXNUMCR + 1>;

// order(1..numCRs(t)): the CR numbers by decreasing length, equal lengths in number order.
CROrder SortCRsByLength(const State& st, Integer t) {
    CROrder order;
    const auto& crSeq = st.crSeq[t];
    order[0] = 1;
    const Integer numCRs = st.numCRs[t];
    for (Integer k = 1; k <= numCRs; ++k) {
        const size_t len = crSeq[k].size();
        Integer j = k;
        while (j > 1 && crSeq[order[j - 1]].size() < len) {
            order[j] = order[j - 1];
            --j;
        }
        Assert(st, 1 <= j && j <= k);
        order[j] = k;
    }
    return order;
}

void ClearCRPositions(State& st, Integer t) {
    for (Integer c = 1; c <= st.numCRs[t]; ++c) {
        st.crStartPos[t][c] = POSNOTFOUND;
        st.crEndPos[t][c] = POSNOTFOUND;
    }
}

// The window for CR c: after the nearest CR before it, and before the nearest CR after it,
// that are placed unambiguously; the ends of actSeq otherwise.
Integer CRWindowStart(const State& st, Integer t, Integer c) {
    for (Integer q = c - 1; q >= 1; --q)
        if (IsValidPos(st.crEndPos[t][q])) return st.crEndPos[t][q] + 1;
    return 1;
}

Integer CRWindowEnd(const State& st, Integer t, Integer c) {
    for (Integer q = c + 1; q <= st.numCRs[t]; ++q)
        if (IsValidPos(st.crStartPos[t][q])) return st.crStartPos[t][q] - 1;
    return Len(st.actSeq);
}

// Whether ranking entry a belongs above entry b: more matched bases beyond the tolerance,
// or within it a larger matched fraction.
bool IsBetterMatch(const State& st, Integer a, Integer b) {
    if (b < 1) return false;
    if (a < 1) return true;
    return IsBetterRank(st, st.templateRanks[a], st.templateRanks[b]);
}

// Moves ranking entry `from` up to `to`, the entries between moving down by one.
void MoveRankEntry(State& st, Integer from, Integer to) {
    Assert(st, 1 <= from && from <= st.numRankedTemplates && 1 <= to && to <= st.numRankedTemplates);
    if (from == to) return;
    if (to > from) {  // only moves up are made
        Assert(st, false);
        return;
    }
    const TemplateRank moved = st.templateRanks[from];
    for (Integer i = from; i > to; --i) st.templateRanks[i] = st.templateRanks[i - 1];
    st.templateRanks[to] = moved;
}

// Matches template t and enters it in the ranking.
void RankTemplate(State& st, const Integer& t) {
    Integer numMatched, numSpanned;
    MatchTemplate(st, t, numMatched, numSpanned);
    AddToRanking(st, t, numMatched, numSpanned);
}

}  // namespace

void InitMatchTemplate(State& st) { st.match.rankTolerance = st.baseCountTolerance; }

void SetBaseCountTolerance(State& st, Integer value) { st.match.rankTolerance = value; }

void GetBaseCountTolerance(const State& st, Integer& value) { value = st.match.rankTolerance; }

Integer RankTemplates(State& st) {
    st.numRankedTemplates = 0;
    if (st.numTemplates < 1) return 0;
    for (Integer t = 1; t <= st.numTemplates; ++t) RankTemplate(st, t);
    Assert(st, st.numRankedTemplates == st.numTemplates);
    return st.templateRanks[1].templateNum;
}

void MatchTemplate(State& st, Integer t, Integer& numMatched, Integer& numSpanned) {
    numMatched = 0;
    numSpanned = 0;
    if (t < 0 || t > st.numTemplates) return;
    const CROrder order = SortCRsByLength(st, t);
    ClearCRPositions(st, t);
    const Integer numCRs = st.numCRs[t];
    auto& crSeq = st.crSeq[t];
    auto& crStart = st.crStartPos[t];
    auto& crEnd = st.crEndPos[t];
    Integer c1 = numCRs + 1;  // first CR found
    Integer c2 = 0;           // last CR found
    for (Integer k = 1; k <= numCRs; ++k) {
        const Integer c = order[k];
        const Integer from = CRWindowStart(st, t, c);
        const Integer to = CRWindowEnd(st, t, c);
        if (from > to) {  // the CRs around it leave no base: it stays not found
            Assert(st, from == to + 1);
            continue;
        }
        Integer numMatches;
        LPAMAlign(st, crSeq[c], st.actSeq, from, to, numMatches, crStart[c], crEnd[c]);
        if (numMatches <= 0) continue;
        c1 = MinInt(c1, c);
        c2 = MaxInt(c2, c);
        const Integer crLen = Len(crSeq[c]);
        if (numMatches == 1) {
            Assert(st, IsValidPos(crStart[c]) && IsValidPos(crEnd[c]));
            // A CR cut off by an end of the sequence counts with the bases inside it.
            if (crStart[c] == 1) numMatched += MinInt(crLen, crEnd[c]);
            else if (crEnd[c] == Len(st.actSeq)) numMatched += MinInt(crLen, Len(st.actSeq) - crStart[c] + 1);
            else numMatched += crLen;
        } else {
            Assert(st, numMatches > 1);
            numMatched += crLen;
        }
    }
    if (numMatched <= 0) return;
    Assert(st, c1 <= c2);
    if (crEnd[c1] == POSAMBIGUOUS) {
        numSpanned = Len(crSeq[c1]);
    } else {
        Assert(st, IsValidPos(crEnd[c1]));
        numSpanned = MinInt(Len(crSeq[c1]), crEnd[c1]);
    }
    if (c2 > c1) {
        if (crStart[c2] == POSAMBIGUOUS) {
            numSpanned += Len(crSeq[c2]);
        } else {
            Assert(st, IsValidPos(crStart[c2]));
            numSpanned += MinInt(Len(crSeq[c2]), Len(st.actSeq) - crStart[c2] + 1);
        }
    }
    for (Integer c = c1 + 1; c <= c2 - 1; ++c) numSpanned += Len(crSeq[c]);
}

bool IsBetterRank(const State& st, const TemplateRank& ra, const TemplateRank& rb) {
    const Integer tolerance = st.match.rankTolerance;
    Assert(st, tolerance >= 0);
    if (ra.numMatched > rb.numMatched + tolerance) return true;
    if (ra.numMatched + tolerance < rb.numMatched) return false;
    return ra.fracMatched > rb.fracMatched;
}

void AddToRanking(State& st, Integer t, Integer numMatched, Integer numSpanned) {
    if (st.numRankedTemplates + 1 > MAXNUMTEMPLATES) {
        // The count is not raised past the table, so every entry it covers is a real one.
        MsgBox(st, "Error. Varigap can only handle " + Str(MAXNUMTEMPLATES) + "templates.");
        return;
    }
    ++st.numRankedTemplates;
    Assert(st, st.numRankedTemplates == t);
    const Integer n = st.numRankedTemplates;
    TemplateRank& entry = st.templateRanks[n];
    entry.templateNum = t;
    entry.numSpanned = numSpanned;
    entry.numMatched = numMatched;
    if (numSpanned != 0) {
        entry.fracMatched = ToSingle(double(numMatched) / double(numSpanned));
    } else {
        Assert(st, numMatched == 0);
        entry.fracMatched = 0;
    }
    Integer j = n - 1;
    while (IsBetterMatch(st, n, j) && j >= 1) --j;
    MoveRankEntry(st, n, j + 1);
}

}  // namespace varigap

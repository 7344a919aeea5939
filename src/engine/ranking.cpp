// Template ranking: CR placement along each template and the ordered list of templates.
#include "engine/detail/ranking.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/messages.h"
#include "core/strings.h"
#include "engine/analysis.h"
#include "engine/detail/cr_words.h"
#include "engine/detail/lpam.h"

namespace varigap {

namespace {

void ClearCRPositions(State& st, Integer t) {
    const int numCRs = st.session.numCRs[t];
    if (numCRs < 1) return;
    // A count beyond the table is run-time error 9 here, as reaching its last CR is.
    Integer* const start = &st.crStartPos[t][numCRs] - numCRs;
    Integer* const end = &st.crEndPos[t][numCRs] - numCRs;
    std::fill(start + 1, start + numCRs + 1, Integer(POSNOTFOUND));
    std::fill(end + 1, end + numCRs + 1, Integer(POSNOTFOUND));
}

// The positions of one template's CRs as they are placed, as crStartPos and crEndPos receive
// them.
// them. Only the CRs searched so far hold positions (a set of bits, which costs nothing to
// clear, unlike a table of markers).
struct PlacedCRs {
    static_assert(MAXNUMCR < 128);
    int numCRs = 0;
    uint64_t searched[2] = {0, 0};
    int start[MAXNUMCR + 1], end[MAXNUMCR + 1];

    void Place(int c, int s, int e) {
        start[c] = s;
        end[c] = e;
        searched[c >> 6] |= uint64_t{1} << (c & 63);
    }
    bool Searched(int q) const { return searched[q >> 6] >> (q & 63) & 1; }
};

// The window for CR c: after the nearest CR before it, and before the nearest CR after it,
// that are placed unambiguously; the ends of actSeq (seqLen bases) otherwise.
Integer CRWindowStart(const PlacedCRs& placed, Integer c) {
    for (int q = c - 1; q >= 1; --q)
        if (placed.Searched(q) && IsValidPos(placed.end[q])) return placed.end[q] + 1;
    return 1;
}

Integer CRWindowEnd(const PlacedCRs& placed, Integer c, Integer seqLen) {
    for (int q = c + 1; q <= placed.numCRs; ++q)
        if (placed.Searched(q) && IsValidPos(placed.start[q])) return placed.start[q] - 1;
    return seqLen;
}

// Moves ranking entry `from` up to `to`, the entries between moving down by one.
void MoveRankEntry(State& st, Integer from, Integer to) {
    Assert(st, 1 <= from && from <= st.numRankedTemplates && 1 <= to && to <= st.numRankedTemplates);
    if (from == to) return;
    if (to > from) {  // only moves up are made
        Assert(st, false);
        return;
    }
    TemplateRank* const ranks = &st.templateRanks[from] - from;  // entries to..from lie in the table
    const TemplateRank moved = ranks[from];
    std::move_backward(ranks + to, ranks + from, ranks + from + 1);
    ranks[to] = moved;
}

// The analysed sequence's word index while templates are matched against it, fetched when
// the first CR is searched (a sequence in which no CR is searched is never indexed).
struct CRPlacer {
    int checkedTemplate = -1;  // the template whose CRs the template words were checked against
    const TemplateWords* words = nullptr;
    ReadWords* read = nullptr;
    // Per template matched in this ranking: its counts, and whether it showed no message.
    Integer matched[MAXNUMTEMPLATES + 1], spanned[MAXNUMTEMPLATES + 1];
    bool clean[MAXNUMTEMPLATES + 1] = {};

    // Template t's CRs in the order they are placed, from the template words, which are made to
    // hold t's CRs.
    const std::vector<int32_t>& Order(State& st, Integer t) {
        if (checkedTemplate != t) {
            TemplateWordsFor(st, t);
            checkedTemplate = t;
        }
        return st.templateWords->crOrder[static_cast<size_t>(t)];
    }
};

// LPAM places CR c of template t in actSeq from..to. A CR that recurs (in another template,
// or in a ranking of the same sequence before) with the same window takes the placement made
// then, unless that call showed a message. The template words hold t's CRs (placer.Order).
bool PlaceCR(State& st, CRPlacer& placer, Integer t, Integer c, Integer from, Integer to, Integer& numMatches,
             Integer& startPos, Integer& endPos) {
    if (placer.words != st.templateWords.get()) {
        placer.words = st.templateWords.get();
        placer.read = &ReadWordsOf(st);
    }
    const int32_t cr = placer.words->crOf[static_cast<size_t>(t)][static_cast<size_t>(c)];
    std::vector<KeptPlacement>& kept = placer.read->kept[static_cast<size_t>(cr)];
    for (const KeptPlacement& k : kept)
        if (k.from == from && k.to == to) {
            numMatches = k.numMatches;
            startPos = k.startPos;
            endPos = k.endPos;
            return true;
        }
    if (!LPAMAlignIndexed(st, *placer.read, cr, from, to, numMatches, startPos, endPos)) return false;
    kept.push_back(KeptPlacement{from, to, static_cast<int16_t>(numMatches), static_cast<int16_t>(startPos),
                                 static_cast<int16_t>(endPos)});
    return true;
}

bool MatchTemplateWith(State& st, CRPlacer& placer, Integer t, Integer& numMatched, Integer& numSpanned);

// Matches template t and enters it in the ranking. A template with the same CRs as one matched
// before in this ranking without a message takes that one's positions and counts.
void RankTemplate(State& st, CRPlacer& placer, const Integer& t) {
    Integer numMatched, numSpanned;
    const int32_t same = placer.Order(st, t).empty() ? -1 : st.templateWords->sameAs[static_cast<size_t>(t)];
    if (same > 0 && placer.clean[same]) {
        const int numCRs = st.session.numCRs[t];
        std::copy_n(&st.crStartPos[same][1], numCRs, &st.crStartPos[t][numCRs] - numCRs + 1);
        std::copy_n(&st.crEndPos[same][1], numCRs, &st.crEndPos[t][numCRs] - numCRs + 1);
        numMatched = placer.matched[same];
        numSpanned = placer.spanned[same];
        placer.clean[t] = true;
    } else {
        placer.clean[t] = MatchTemplateWith(st, placer, t, numMatched, numSpanned);
    }
    placer.matched[t] = numMatched;
    placer.spanned[t] = numSpanned;
    AddToRanking(st, t, numMatched, numSpanned);
}

}  // namespace

void InitMatchTemplate(Session& session) { session.match.rankTolerance = session.baseCountTolerance; }

void SetBaseCountTolerance(Session& session, Integer value) { session.match.rankTolerance = value; }

void GetBaseCountTolerance(const Session& session, Integer& value) { value = session.match.rankTolerance; }

Integer RankTemplates(State& st) {
    st.numRankedTemplates = 0;
    if (st.session.numTemplates < 1) return 0;
    CRPlacer placer;
    for (Integer t = 1; t <= st.session.numTemplates; ++t) RankTemplate(st, placer, t);
    Assert(st, st.numRankedTemplates == st.session.numTemplates);
    return st.templateRanks[1].templateNum;
}

void MatchTemplate(State& st, Integer t, Integer& numMatched, Integer& numSpanned) {
    CRPlacer placer;
    MatchTemplateWith(st, placer, t, numMatched, numSpanned);
}

namespace {

// True when no placement and no check showed a message.
bool MatchTemplateWith(State& st, CRPlacer& placer, Integer t, Integer& numMatched, Integer& numSpanned) {
    numMatched = 0;
    numSpanned = 0;
    if (t < 0 || t > st.session.numTemplates) return true;
    bool clean = true;
    auto check = [&](bool condition) {
        Assert(st, condition);
        clean = clean && condition;
    };
    ClearCRPositions(st, t);
    const Integer numCRs = st.session.numCRs[t];
    if (numCRs < 1) return true;
    const std::vector<int32_t>& order = placer.Order(st, t);
    auto& crSeq = st.session.crSeq[t];
    // The template's rows of positions, reached once: ClearCRPositions has checked that CRs
    // 1..numCRs lie within them.
    Integer* const crStart = &st.crStartPos[t][0];
    Integer* const crEnd = &st.crEndPos[t][0];
    PlacedCRs placed;
    placed.numCRs = numCRs;
    // Beyond the Integer range a sequence cannot be searched (run-time error 6).
    const Integer seqLen = Len(st.actSeq);
    Integer c1 = numCRs + 1;  // first CR found
    Integer c2 = 0;           // last CR found
    for (Integer k = 1; k <= numCRs; ++k) {
        const Integer c = order[static_cast<size_t>(k - 1)];
        const Integer from = CRWindowStart(placed, c);
        const Integer to = CRWindowEnd(placed, c, seqLen);
        if (from > to) {  // the CRs around it leave no base: it stays not found
            check(from == to + 1);
            continue;
        }
        Integer numMatches;
        clean = PlaceCR(st, placer, t, c, from, to, numMatches, crStart[c], crEnd[c]) && clean;
        placed.Place(c, crStart[c], crEnd[c]);
        if (numMatches <= 0) continue;
        c1 = MinInt(c1, c);
        c2 = MaxInt(c2, c);
        const Integer crLen = Len(crSeq[c]);
        if (numMatches == 1) {
            check(IsValidPos(crStart[c]) && IsValidPos(crEnd[c]));
            // A CR cut off by an end of the sequence counts with the bases inside it.
            if (crStart[c] == 1) numMatched += MinInt(crLen, crEnd[c]);
            else if (crEnd[c] == Len(st.actSeq)) numMatched += MinInt(crLen, Len(st.actSeq) - crStart[c] + 1);
            else numMatched += crLen;
        } else {
            check(numMatches > 1);
            numMatched += crLen;
        }
    }
    if (numMatched <= 0) return clean;
    check(c1 <= c2);
    if (crEnd[c1] == POSAMBIGUOUS) {
        numSpanned = Len(crSeq[c1]);
    } else {
        check(IsValidPos(crEnd[c1]));
        numSpanned = MinInt(Len(crSeq[c1]), crEnd[c1]);
    }
    if (c2 > c1) {
        if (crStart[c2] == POSAMBIGUOUS) {
            numSpanned += Len(crSeq[c2]);
        } else {
            check(IsValidPos(crStart[c2]));
            numSpanned += MinInt(Len(crSeq[c2]), Len(st.actSeq) - crStart[c2] + 1);
        }
    }
    for (Integer c = c1 + 1; c <= c2 - 1; ++c) numSpanned += Len(crSeq[c]);
    return clean;
}

}  // namespace

bool IsBetterRank(const State& st, const TemplateRank& ra, const TemplateRank& rb) {
    const Integer tolerance = st.session.match.rankTolerance;
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
    // Up past every entry that it matches better: more matched bases beyond the tolerance, or
    // within it a larger matched fraction (IsBetterRank).
    const TemplateRank* const ranks = &entry - n;
    int j = n - 1;
    while (j >= 1 && IsBetterRank(st, entry, ranks[j])) --j;
    MoveRankEntry(st, n, j + 1);
}

}  // namespace varigap

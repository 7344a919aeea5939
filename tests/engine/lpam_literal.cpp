// LPAM written out step by step, without index or shortcuts.
#include "engine/lpam_literal.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "core/bases.h"
#include "core/messages.h"
#include "core/strings.h"
#include "engine/detail/lpam.h"
#include "engine/detail/ranking.h"

namespace varigap::literal {

namespace {

// The module variables of one alignment.
struct Alignment {
    Integer crLen, pieceLen, numWords;
    std::vector<std::array<Integer, MAXWORDHITS + 2>> wordHits;  // (1..numWords, 1..11)
};

// First position of word in piece at or after s, letters compared without regard to case,
// ambiguity codes as plain letters; 0 when there is none.
int FindWord(const std::string& word, const std::string& piece, int s) {
    const int wl = static_cast<int>(word.size());
    for (int p = s; p + wl - 1 <= static_cast<int>(piece.size()); ++p) {
        bool same = true;
        for (int j = 0; j < wl && same; ++j)
            same = UpperCaseEq(word[static_cast<size_t>(j)], piece[static_cast<size_t>(p - 1 + j)]);
        if (same) return p;
    }
    return 0;
}

// The hit of word i nearest to target within maxDist, the earliest on a tie.
bool NearestHit(const Alignment& a, int i, int target, int maxDist, int& found) {
    bool any = false;
    int bestDist = 0;
    for (int k = 1; k <= MAXWORDHITS && a.wordHits[i][k] != NODIAGONAL; ++k) {
        int dist = std::abs(a.wordHits[i][k] - target);
        if (dist <= maxDist && (!any || dist < bestDist)) {
            any = true;
            bestDist = dist;
            found = a.wordHits[i][k];
        }
        if (any && bestDist == 0) break;
    }
    return any;
}

bool TryDiagonal(State& st, const Alignment& a, const std::string& piece, const std::string& crBases, int d,
                 Integer& startPos, Integer& endPos, bool truncBegin, bool truncEnd) {
    const LpamState& l = st.session.lpam;
    if (d == NODIAGONAL) {
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    Single thr = l.lpamStdAcceptance;
    if (d < 1 && truncBegin) {
        thr = ToSingle((1 - double(1 - d) / a.numWords) * double(l.lpamStdAcceptance));
    } else if (a.crLen + d - 1 > a.pieceLen && truncEnd) {
        int over = a.crLen + d - 1 - a.pieceLen;
        thr = ToSingle((1 - double(over) / a.numWords) * double(l.lpamStdAcceptance));
    }
    if (thr < l.lpamMinAcceptance) thr = l.lpamMinAcceptance;

    int anchor = d;
    for (int i = 1; i <= a.numWords; ++i)
        if (NearestHit(a, i, d, l.lpamMaxLengthVariation, anchor)) break;
    int start = anchor;

    int cur = start;
    int matched = 0;
    for (int p = 1; p <= a.crLen; ++p) {
        if (p <= a.numWords) NearestHit(a, p, cur, 2 * l.lpamMaxLengthVariation, cur);
        int q = p + cur - 1;
        if (1 <= q && q <= a.pieceLen && BasesMatch(CharAt(crBases, p), CharAt(piece, q))) ++matched;
    }
    int end = a.crLen + cur - 1;

    Single frac = ToSingle(double(matched) / a.crLen);
    if (frac < thr) {
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    start = std::max(start, 1);
    end = std::min(end, static_cast<int>(a.pieceLen));
    if (start > end) {  // a walk that drifted back past its start: not found
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    Assert(st, 1 <= start && start <= end && end <= a.pieceLen);
    startPos = start;
    endPos = end;
    return true;
}

}  // namespace

void ClearVote(DiagonalVote& v) {
    v.diagonal = NODIAGONAL;
    v.score = 0;
}

void SwapVotes(DiagonalVote& a, DiagonalVote& b) { std::swap(a, b); }

void LPAMAlign(State& st, const std::string& crBases, const std::string& sequence, Integer from, Integer to,
               Integer& numMatches, Integer& startPos, Integer& endPos) {
    Assert(st, from <= to);
    bool truncBegin = from <= 1;
    bool truncEnd = to >= Len(sequence);
    std::string piece = SubStr(sequence, from, to);
    literal::LPAMAlignPiece(st, piece, crBases, startPos, endPos, numMatches, truncBegin, truncEnd);
    if (IsValidPos(startPos)) {
        Assert(st, IsValidPos(endPos));
        startPos = startPos + from - 1;
        endPos = endPos + from - 1;
        Assert(st, from <= startPos && startPos <= to && from <= endPos && endPos <= to);
    } else {
        Assert(st, !IsValidPos(endPos));
    }
}

void LPAMAlignPiece(State& st, const std::string& piece, const std::string& crBases, Integer& startPos, Integer& endPos,
                    Integer& numMatches, bool truncBegin, bool truncEnd) {
    const LpamState& l = st.session.lpam;
    Alignment a;
    a.crLen = Len(crBases);
    a.pieceLen = Len(piece);
    if (a.pieceLen > maxSeqLen) {
        MsgBox(st,
               "Error: sequence of " + Str(a.pieceLen) + " bases is too long.  maxSeqLen = " + Str(maxSeqLen) + ".");
        numMatches = 0;
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return;
    }
    if (a.crLen < l.lpamMinCRLength) {
        numMatches = 0;
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return;
    }
    const int wordLength = std::max<int>(l.lpamWordLength, 1);  // below 1: as 1
    if (a.crLen <= wordLength) {
        FindUniqueMatch(crBases, piece, 1, a.pieceLen, numMatches, startPos, endPos);
        return;
    }
    a.numWords = a.crLen - wordLength + 1;
    const int tableSize = a.numWords < 2000 ? 5 * a.numWords : 10000;
    std::vector<DiagonalVote> table(static_cast<size_t>(tableSize) + 1);
    for (auto& v : table) ClearVote(v);
    a.wordHits.assign(static_cast<size_t>(a.numWords) + 1, {});

    for (int i = 1; i <= a.numWords; ++i) {
        std::string word = SubStr(crBases, i, i + wordLength - 1);
        int k = 0;
        int s = 1;
        for (;;) {
            int p = FindWord(word, piece, s);
            if (p == 0 || k == MAXWORDHITS) break;
            ++k;
            a.wordHits[i][k] = p - i + 1;
            s = p + 1;
        }
        Assert(st, k + 1 <= MAXWORDHITS + 1);
        a.wordHits[i][k + 1] = NODIAGONAL;
        for (int h = 1; h <= k; ++h) {
            int dd = a.wordHits[i][h];
            int j = 1;
            while (table[j].score > 0 && table[j].diagonal != dd && j < tableSize) ++j;
            Assert(st, j <= tableSize);
            if (table[j].diagonal != dd) {
                if (table[j].diagonal != NODIAGONAL) st.voteTableFull = true;  // the table ran full
                table[j].diagonal = dd;
            }
            table[j].score = ToSingle(double(table[j].score) + 1.0 / k);
            while (j > 1 && table[j].score > table[j - 1].score) {
                SwapVotes(table[j], table[j - 1]);
                --j;
            }
        }
    }

    const int best = table[1].diagonal;
    const int band = l.lpamMaxLengthVariation;
    auto inBand = [&](int d) { return best - band <= d && d <= best + band; };
    int j = 1;
    while (inBand(table[j].diagonal) && table[j].diagonal != NODIAGONAL && j < tableSize) ++j;
    int rival = table[j].diagonal;
    // A full table of diagonals inside the band holds no rival.
    if (rival != NODIAGONAL && inBand(rival)) rival = NODIAGONAL;

    if (!TryDiagonal(st, a, piece, crBases, best, startPos, endPos, truncBegin, truncEnd)) {
        numMatches = 0;
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return;
    }
    if (rival == best || rival == NODIAGONAL) {
        numMatches = 1;
        Assert(st, IsValidPos(startPos) && IsValidPos(endPos));
        return;
    }
    Integer s2, e2;
    if (TryDiagonal(st, a, piece, crBases, rival, s2, e2, truncBegin, truncEnd)) {
        numMatches = 2;
        startPos = POSAMBIGUOUS;
        endPos = POSAMBIGUOUS;
    } else {
        numMatches = 1;
    }
}

void MatchTemplate(State& st, Integer t, Integer& numMatched, Integer& numSpanned) {
    numMatched = 0;
    numSpanned = 0;
    if (t < 0 || t > st.session.numTemplates) return;
    const int n = st.session.numCRs[t];
    auto len = [&](int c) { return Len(st.session.crSeq[t][c]); };
    std::vector<int> order(static_cast<size_t>(n) + 1, 1);  // CRs by decreasing length
    for (int k = 1; k <= n; ++k) {
        int j = k;
        while (j > 1 && len(order[j - 1]) < len(k)) {
            order[j] = order[j - 1];
            --j;
        }
        Assert(st, 1 <= j && j <= k);
        order[j] = k;
    }
    for (int c = 1; c <= n; ++c) st.crStartPos[t][c] = st.crEndPos[t][c] = POSNOTFOUND;
    int c1 = n + 1, c2 = 0;
    for (int k = 1; k <= n; ++k) {
        const int c = order[k];
        int from = 1, to = Len(st.actSeq);
        for (int q = c - 1; q >= 1 && from == 1; --q)
            if (IsValidPos(st.crEndPos[t][q])) from = st.crEndPos[t][q] + 1;
        for (int q = c + 1; q <= n && to == Len(st.actSeq); ++q)
            if (IsValidPos(st.crStartPos[t][q])) to = st.crStartPos[t][q] - 1;
        if (from > to) {
            Assert(st, from == to + 1);
            continue;
        }
        Integer numMatches;
        literal::LPAMAlign(st, st.session.crSeq[t][c], st.actSeq, from, to, numMatches, st.crStartPos[t][c],
                           st.crEndPos[t][c]);
        if (numMatches <= 0) continue;
        c1 = std::min(c1, c);
        c2 = std::max(c2, c);
        const int s = st.crStartPos[t][c], e = st.crEndPos[t][c];
        if (numMatches == 1) {
            Assert(st, IsValidPos(s) && IsValidPos(e));
            if (s == 1) numMatched += std::min<int>(len(c), e);
            else if (e == Len(st.actSeq)) numMatched += std::min<int>(len(c), Len(st.actSeq) - s + 1);
            else numMatched += len(c);
        } else {
            Assert(st, numMatches > 1);
            numMatched += len(c);
        }
    }
    if (numMatched <= 0) return;
    Assert(st, c1 <= c2);
    const int end1 = st.crEndPos[t][c1], start2 = st.crStartPos[t][c2];
    if (end1 == POSAMBIGUOUS) {
        numSpanned = len(c1);
    } else {
        Assert(st, IsValidPos(end1));
        numSpanned = std::min<int>(len(c1), end1);
    }
    if (c2 > c1) {
        if (start2 == POSAMBIGUOUS) {
            numSpanned += len(c2);
        } else {
            Assert(st, IsValidPos(start2));
            numSpanned += std::min<int>(len(c2), Len(st.actSeq) - start2 + 1);
        }
    }
    for (int c = c1 + 1; c <= c2 - 1; ++c) numSpanned += len(c);
}

Integer RankTemplates(State& st) {
    st.numRankedTemplates = 0;
    if (st.session.numTemplates < 1) return 0;
    for (Integer t = 1; t <= st.session.numTemplates; ++t) {
        Integer numMatched, numSpanned;
        literal::MatchTemplate(st, t, numMatched, numSpanned);
        AddToRanking(st, t, numMatched, numSpanned);
    }
    Assert(st, st.numRankedTemplates == st.session.numTemplates);
    return st.templateRanks[1].templateNum;
}

}  // namespace varigap::literal

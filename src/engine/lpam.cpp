// LPAM: word votes on diagonals, a drifting walk along the winner, and the search for a
// second placement outside the band of allowed length variation.
#include "engine/detail/lpam_parts.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/bases.h"
#include "core/messages.h"
#include "core/strings.h"
#include "engine/detail/word_sets.h"

namespace varigap {

namespace lpam {

namespace {

// --- word hits of a piece searched on its own ---

// Finds the first MAXWORDHITS occurrences of every word of the region in one pass over the
// piece, which stops once every word has them all.
void FindWordHits(LpamScratch& s, const std::string& piece, const std::string& crBases, int wl, int numWords) {
    s.crWords.Reset(static_cast<size_t>(numWords), wl);
    s.wordOf.resize(static_cast<size_t>(numWords));
    ForEachWordHash(crBases.data(), crBases.size(), wl, numWords, [&](int i, uint64_t h) {
        s.wordOf[static_cast<size_t>(i)] = s.crWords.Add(h, crBases.data() + i);
        return true;
    });
    s.wordPos.resize(s.crWords.Size());
    for (auto& w : s.wordPos) w[0] = 0;
    size_t open = s.crWords.Size();  // words still short of MAXWORDHITS hits
    const int n = static_cast<int>(piece.size()) - wl + 1;
    if (n > 0)
        ForEachWordHash(piece.data(), piece.size(), wl, n, [&](int p, uint64_t h) {
            const int32_t id = s.crWords.Find(h, piece.data() + p);
            if (id >= 0) {
                auto& w = s.wordPos[static_cast<size_t>(id)];
                if (w[0] < MAXWORDHITS) {
                    w[static_cast<size_t>(++w[0])] = p + 1;
                    if (w[0] == MAXWORDHITS) --open;
                }
            }
            return open > 0;
        });
    s.hits.resize(static_cast<size_t>(numWords));
    s.diagonals.clear();
    for (int i = 0; i < numWords; ++i) {
        const auto& w = s.wordPos[static_cast<size_t>(s.wordOf[static_cast<size_t>(i)])];
        s.hits[static_cast<size_t>(i)] = HitList{static_cast<int32_t>(s.diagonals.size()), w[0]};
        for (int k = 1; k <= w[0]; ++k) s.diagonals.push_back(w[static_cast<size_t>(k)] - i);
    }
    s.diagonals.push_back(NODIAGONAL);  // read, not taken, by the walk for a last word without hits
}

// --- vote table ---

// A binary heap of vote indexes whose top is the last slot of the table: the slot a new
// diagonal takes over when the table is full.
void HeapPlace(LpamScratch& s, size_t at, int32_t v) {
    s.heap[at] = v;
    s.votes[static_cast<size_t>(v)].heapPos = static_cast<int32_t>(at);
}

void HeapDown(LpamScratch& s, size_t at) {
    int32_t v = s.heap[at];
    const size_t n = s.heap.size();
    for (;;) {
        size_t child = 2 * at + 1;
        if (child >= n) break;
        if (child + 1 < n &&
            Later(s.votes[static_cast<size_t>(s.heap[child + 1])], s.votes[static_cast<size_t>(s.heap[child])]))
            ++child;
        if (!Later(s.votes[static_cast<size_t>(s.heap[child])], s.votes[static_cast<size_t>(v)])) break;
        HeapPlace(s, at, s.heap[child]);
        at = child;
    }
    HeapPlace(s, at, v);
}

}  // namespace

// Every word hands out one vote, split evenly over its counted occurrences, to the diagonals
// they lie on. A full table hands its last slot to a new diagonal, which keeps the score found
// there (reported as a logic error, as it loses votes); the heap that finds that slot is
// built only once the table is full.
void CastVotes(State& st, LpamScratch& s, LpamCall& c, int tableSize) {
    const int numWords = c.numWords;
    StartVotes(s, c, tableSize);
    DiagonalVote* const voteOf = s.voteOf.data();
    Vote* const votes = s.votes.data();
    const uint32_t call = s.call;
    int numVotes = 0;
    bool full = false;
    uint32_t now = 0;
    for (int i = 1; i <= numWords; ++i) {
        const HitList& hits = s.hits[static_cast<size_t>(i - 1)];
        if (hits.count == 0) continue;
        const double share = 1.0 / hits.count;
        const int32_t* const diagonalsOfWord = s.diagonals.data() + hits.first;
        for (int k = 0; k < hits.count; ++k) {
            const int d = diagonalsOfWord[k];
            DiagonalVote& dv = voteOf[d - s.minDiagonal];
            if (dv.call != call) dv = DiagonalVote{call, 0, i};
            int32_t& slot = dv.vote;
            ++now;
            if (slot > 0) {
                Vote& v = votes[slot - 1];
                Single score = ToSingle(double(v.score) + share);
                if (score != v.score) {
                    v.score = score;
                    v.stamp = now;
                    if (full) HeapDown(s, static_cast<size_t>(v.heapPos));
                }
            } else if (numVotes < tableSize) {
                votes[numVotes++] = Vote{d, ToSingle(0.0 + share), now, -1};
                slot = numVotes;
            } else {
                c.reported = true;
                st.voteTableFull = true;
                if (!full) {
                    full = true;
                    s.heap.resize(static_cast<size_t>(numVotes));
                    for (size_t at = 0; at < s.heap.size(); ++at) HeapPlace(s, at, static_cast<int32_t>(at));
                    for (size_t at = s.heap.size() / 2; at-- > 0;) HeapDown(s, at);
                }
                int32_t last = s.heap[0];
                Vote& v = votes[last];
                voteOf[v.diagonal - s.minDiagonal].vote = 0;
                v.diagonal = d;
                v.score = ToSingle(double(v.score) + share);
                v.stamp = now;
                slot = last + 1;
                HeapDown(s, 0);
            }
        }
    }
    s.numVotes = numVotes;
}

namespace {

// The diagonal of the first slot and the first diagonal of the table outside the band
// best - band .. best + band (NODIAGONAL when there is none).
void BestAndRival(const LpamScratch& s, int band, int& best, int& rival) {
    const Vote* const votes = s.votes.data();
    const Vote* first = nullptr;
    for (int j = 0; j < s.numVotes; ++j)
        if (!first || Later(*first, votes[j])) first = &votes[j];
    best = first ? first->diagonal : NODIAGONAL;
    const Vote* outside = nullptr;
    for (int j = 0; j < s.numVotes; ++j) {
        const Vote& v = votes[j];
        if ((v.diagonal < best - band || v.diagonal > best + band) && (!outside || Later(*outside, v))) outside = &v;
    }
    rival = outside ? outside->diagonal : NODIAGONAL;
}

// Among the counted hits of word i, the diagonal closest to target within maxDist, the
// earliest on a tie. False when none lies that close.
inline bool ClosestHit(const LpamScratch& s, int i, int target, int maxDist, int& found) {
    const HitList& h = s.hits[static_cast<size_t>(i - 1)];
    const int32_t* const diagonals = s.diagonals.data() + h.first;
    if (h.count == 1) {  // the usual case
        const int e = diagonals[0];
        if (std::abs(e - target) > maxDist) return false;
        found = e;
        return true;
    }
    int bestDist = maxDist + 1;
    for (int k = 0; k < h.count && bestDist > 0; ++k) {
        int e = diagonals[k];
        int dist = std::abs(e - target);
        if (dist < bestDist) {
            bestDist = dist;
            found = e;
        }
    }
    return bestDist <= maxDist;
}

// The first word with a hit within band of diagonal d (a diagonal of the vote table), 0 when
// there is none: from the first word of each diagonal of the band when the band is narrower
// than the region, else by looking at each word.
int FirstWordNear(const LpamScratch& s, int d, int band, int numWords) {
    if (band < 0) return 0;
    if (2 * band + 1 < numWords) {
        const int lowest = std::max(d - band, s.minDiagonal);
        const int highest = std::min<int>(d + band, s.minDiagonal + static_cast<int>(s.voteOf.size()) - 1);
        int first = numWords + 1;
        for (int e = lowest; e <= highest; ++e) {
            const DiagonalVote& dv = s.voteOf[static_cast<size_t>(e - s.minDiagonal)];
            if (dv.call == s.call && dv.firstWord < first) first = dv.firstWord;
        }
        return first <= numWords ? first : 0;
    }
    int unused;
    for (int i = 1; i <= numWords; ++i)
        if (ClosestHit(s, i, d, band, unused)) return i;
    return 0;
}

// BasesMatch, quicker for the usual pairs: equal letters, or two nucleotide letters (which
// match when they share a base, N sharing all of them).
inline bool SameBase(char a, char b) {
    if (a == b) return true;
    const unsigned ma = detail::kBaseMask[static_cast<unsigned char>(a)];
    const unsigned mb = detail::kBaseMask[static_cast<unsigned char>(b)];
    return ma && mb ? (ma & mb) != 0 : BasesMatch(a, b);
}

// The fewest matching bases of a region of crLen bases whose fraction reaches thr.
int FewestAccepted(Single thr, int crLen) {
    if (!(thr > 0)) return 0;
    int need = static_cast<int>(std::min(double(thr) * crLen, double(crLen) + 1));
    while (need > 0 && ToSingle(double(need - 1) / crLen) >= thr) --need;
    while (need <= crLen && ToSingle(double(need) / crLen) < thr) ++need;
    return need;
}

// The walk along the region from diagonal cur, drifting to the nearby diagonal of each word
// that has a hit within `drift` of it: the bases missed, counted until more than `allowed`
// (the walk is then given up). cur ends as the diagonal of the last base.
int Walk(const LpamScratch& s, const char* crBases, const char* piece, int crLen, int numWords, int pieceLen, int drift,
         int allowed, int& cur) {
    const HitList* const hits = s.hits.data();
    const int32_t* const diagonals = s.diagonals.data();
    int d = cur, missed = 0;
    for (int p = 1; p <= crLen; ++p) {
        if (p <= numWords) {
            const HitList& h = hits[p - 1];
            if (h.count == 1) {  // the usual case, as ClosestHit
                const int e = diagonals[h.first];
                if (std::abs(e - d) <= drift) d = e;
            } else if (h.count > 1) {
                ClosestHit(s, p, d, drift, d);
            }
        }
        const int q = p + d - 1;
        if (!(static_cast<unsigned>(q - 1) < static_cast<unsigned>(pieceLen) &&
              SameBase(crBases[p - 1], piece[q - 1])) &&
            ++missed > allowed)
            break;
    }
    cur = d;
    return missed;
}

// The bases missed at CR positions from..to (1-based) on diagonal d, added to `missed` until it
// exceeds `allowed`, from the bases each character stands for: two characters match when
// they share one, sixteen compared at a time. CR position p faces piece position p + d - 1;
// those facing no piece base are missed.
int RangeMisses(const char* crMasks, const char* pieceMasks, int pieceLen, int d, int from, int to, int missed,
                int allowed) {
    const int first = std::max(from, 2 - d), last = std::min(to, pieceLen - d + 1);
    if (first > last) return missed + (to - from + 1);
    missed += (to - from + 1) - (last - first + 1);
    const char* a = crMasks + first - 1;
    const char* b = pieceMasks + first + d - 2;
    const int n = last - first + 1;
    int j = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi8(1);
    for (; j + 16 <= n && missed <= allowed; j += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + j));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + j));
        // One per base that shares nothing, summed in two halves.
        const __m128i miss = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(x, y), zero), one);
        const __m128i sums = _mm_sad_epu8(miss, zero);
        missed += _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
    }
#endif
    for (; j < n && missed <= allowed; ++j) missed += (a[j] & b[j]) == 0;
    return missed;
}

// ClosestHit among hits [k, k + n) of `off`, all of one word.
inline bool ClosestOff(const OffHit* off, int n, int target, int maxDist, int& found) {
    int bestDist = maxDist + 1;
    for (int k = 0; k < n && bestDist > 0; ++k) {
        const int e = off[k].diagonal, dist = std::abs(e - target);
        if (dist < bestDist) {
            bestDist = dist;
            found = e;
        }
    }
    return bestDist <= maxDist;
}

// ClosestHit of word i (from 1) in sparse hits.
bool ClosestSparse(const SparseHits& h, int i, int target, int maxDist, int& found) {
    if (h.onGuess[i - 1]) {
        if (std::abs(h.guess - target) > maxDist) return false;
        found = h.guess;
        return true;
    }
    const OffHit* const end = h.off + h.numOff;
    const OffHit* k = std::lower_bound(h.off, end, i - 1, [](const OffHit& a, int w) { return a.word < w; });
    if (k == end || k->word != i - 1) return false;
    return ClosestOff(k, k->count, target, maxDist, found);
}

// Walk on sparse hits. With the bases each character stands for, the stretches between words
// that can move the walk are compared sixteen bases at a time: while the guessed winner lies
// beyond the walk's drift, only the words with other hits can move it.
int WalkSparse(const SparseHits& h, const LpamCall& c, int drift, int allowed, int& cur) {
    const unsigned char* const mask = detail::kBaseMask.data();
    const char* const crBases = c.crBases.data();
    const int crLen = c.crLen, numWords = c.numWords, pieceLen = c.pieceLen;
    const bool masked = c.crMasks && c.pieceMasks;
    int d = cur, missed = 0, k = 0;
    for (int p = 1; p <= crLen; ++p) {
        if (masked && std::abs(h.guess - d) > drift) {
            // The next word with a hit within the drift of d: no word before it moves the walk.
            while (k < h.numOff && (h.off[k].word < p - 1 || std::abs(h.off[k].diagonal - d) > drift)) ++k;
            const int next = k < h.numOff ? h.off[k].word + 1 : crLen + 1;
            if (next > p) {
                missed =
                    RangeMisses(c.crMasks, c.pieceMasks, pieceLen, d, p, std::min(next - 1, crLen), missed, allowed);
                if (missed > allowed) break;
                p = next - 1;
                continue;
            }
        }
        if (p <= numWords) {
            const int w = p - 1;
            if (h.onGuess[w]) {
                d = std::abs(h.guess - d) <= drift ? h.guess : d;
            } else {
                while (k < h.numOff && h.off[k].word < w) ++k;
                while (k > 0 && h.off[k - 1].word == w) --k;  // the word's first hit
                if (k < h.numOff && h.off[k].word == w) {
                    if (h.off[k].count == 1) {
                        const int e = h.off[k].diagonal;
                        d = std::abs(e - d) <= drift ? e : d;
                    } else {
                        ClosestOff(h.off + k, h.off[k].count, d, drift, d);
                    }
                }
            }
        }
        const int q = p + d - 1;
        const bool inside = static_cast<unsigned>(q - 1) < static_cast<unsigned>(pieceLen);
        const char a = crBases[p - 1], b = c.piece[inside ? q - 1 : 0];
        const unsigned ma = mask[static_cast<unsigned char>(a)], mb = mask[static_cast<unsigned char>(b)];
        bool match = (ma & mb) != 0;
        if ((ma == 0) | (mb == 0)) [[unlikely]]
            match = BasesMatch(a, b);
        missed += !(inside && match);
        if (missed > allowed) break;
    }
    cur = d;
    return missed;
}

// FewestAccepted, remembered in s.
int FewestAccepted(const LpamScratch& s, Single thr, int crLen) {
    auto& f = s.fewest[static_cast<size_t>(crLen) % s.fewest.size()];
    if (f.thr != thr || f.crLen != crLen) f = {thr, crLen, FewestAccepted(thr, crLen)};
    return f.need;
}

}  // namespace

// Walks the region along diagonal d (word hits in s) and returns whether enough bases match;
// on success startPos..endPos is the placement, clipped to the piece. nearWord: the first word
// with a hit within the band of d (0 none, -1 to be looked up); straight: no hit but d's own
// lies within the walk's drift of d, so the walk stays on d.
bool TryDiagonal(const State& st, const LpamScratch& s, LpamCall& c, Integer d, Integer& startPos, Integer& endPos,
                 int nearWord, bool straight, const SparseHits* sparse) {
    if (d == NODIAGONAL) {
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    const LpamState& l = st.session.lpam;
    const char* piece = c.piece;
    const std::string& crBases = c.crBases;
    const int crLen = c.crLen, pieceLen = c.pieceLen, numWords = c.numWords;
    const int band = l.lpamMaxLengthVariation;

    // A region may hang over an end of the sequence (not of a window inside it); the bases
    // outside lower the threshold, counted per word.
    Single thr = l.lpamStdAcceptance;
    if (d < 1 && c.truncBegin) {
        thr = ToSingle((1 - double(1 - d) / numWords) * double(l.lpamStdAcceptance));
    } else if (crLen + d - 1 > pieceLen && c.truncEnd) {
        const int over = crLen + d - 1 - pieceLen;
        thr = ToSingle((1 - double(over) / numWords) * double(l.lpamStdAcceptance));
    }
    if (thr < l.lpamMinAcceptance) thr = l.lpamMinAcceptance;

    // Anchor: the hit nearest to d of the first word that has one within the band.
    // On a straight diagonal that is d itself.
    int anchor = d;
    if (!straight) {
        if (nearWord < 0) nearWord = FirstWordNear(s, d, band, numWords);
        if (nearWord > 0) {
            if (sparse) ClosestSparse(*sparse, nearWord, d, band, anchor);
            else ClosestHit(s, nearWord, d, band, anchor);
        }
    }

    // Walk, drifting to the nearby diagonal of each word that has a hit close enough. A walk
    // that misses more bases than the threshold allows is given up: it would be refused all
    // the same.
    const int allowedMisses = crLen - FewestAccepted(s, thr, crLen);
    int cur = anchor;
    const int missed = straight && c.crMasks && c.pieceMasks
                           ? RangeMisses(c.crMasks, c.pieceMasks, pieceLen, d, 1, crLen, 0, allowedMisses)
                       : sparse
                           ? WalkSparse(*sparse, c, 2 * band, allowedMisses, cur)
                           : Walk(s, crBases.data(), piece, crLen, numWords, pieceLen, 2 * band, allowedMisses, cur);
    if (missed > allowedMisses) {
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    const int matched = crLen - missed;
    // Positions are kept wide until clipped: a region hanging over the end of a long piece
    // would otherwise leave the Integer range.
    int last = crLen + cur - 1;

    const Single frac = ToSingle(double(matched) / crLen);
    if (frac < thr) {
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    const int first = std::max(anchor, 1);
    last = std::min(last, pieceLen);
    // End of the walk: with short words or a wide band the walk can drift back past its own
    // start. Such a placement holds no base; it is "not found", never a line with start > end.
    if (first > last) {
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    Check(st, c, 1 <= first && last <= pieceLen);
    startPos = first;
    endPos = last;
    return true;
}

// The winning diagonal of the votes in s and the rival outside its band; positions are piece
// positions.
void AlignByVotes(State& st, LpamScratch& s, LpamCall& c, Integer& startPos, Integer& endPos, Integer& numMatches) {
    int best = NODIAGONAL, rival = NODIAGONAL;
    BestAndRival(s, st.session.lpam.lpamMaxLengthVariation, best, rival);

    if (!TryDiagonal(st, s, c, best, startPos, endPos)) {
        SetNotFound(numMatches, startPos, endPos);
        return;
    }
    if (rival == best || rival == NODIAGONAL) {
        numMatches = 1;
        Check(st, c, IsValidPos(startPos) && IsValidPos(endPos));
        return;
    }
    Integer otherStart, otherEnd;
    if (TryDiagonal(st, s, c, rival, otherStart, otherEnd)) {
        numMatches = 2;
        startPos = POSAMBIGUOUS;
        endPos = POSAMBIGUOUS;
    } else {
        numMatches = 1;
    }
}

namespace {

// The votes of the word hits in s, then the placement they give.
void AlignByHits(State& st, LpamScratch& s, LpamCall& c, Integer& startPos, Integer& endPos, Integer& numMatches) {
    CastVotes(st, s, c, TableSize(c.numWords));
    AlignByVotes(st, s, c, startPos, endPos, numMatches);
}

// LPAMAlign on a piece already cut out; positions are piece positions. truncBegin / truncEnd:
// the piece begins / ends where the sequence does, so the region may hang over that end.
void LPAMAlignPiece(State& st, const std::string& piece, const std::string& crBases, Integer& startPos, Integer& endPos,
                    Integer& numMatches, bool truncBegin, bool truncEnd) {
    const LpamState& l = st.session.lpam;
    LpamCall c{piece.data(), crBases, Len(crBases), Len(piece), 0, truncBegin, truncEnd};
    if (c.pieceLen > maxSeqLen) {
        MsgBox(st,
               "Error: sequence of " + Str(c.pieceLen) + " bases is too long.  maxSeqLen = " + Str(maxSeqLen) + ".");
        SetNotFound(numMatches, startPos, endPos);
        return;
    }
    if (c.crLen < l.lpamMinCRLength) {
        SetNotFound(numMatches, startPos, endPos);
        return;
    }
    // A word length below 1 (possible only from a hand-edited parameter file) cuts no words;
    // such a setting works as 1.
    const int wl = std::max<int>(l.lpamWordLength, 1);
    if (c.crLen <= wl) {
        FindUniqueMatch(crBases, piece, 1, c.pieceLen, numMatches, startPos, endPos);
        return;
    }
    c.numWords = c.crLen - wl + 1;
    LpamScratch& s = Scratch(st);
    FindWordHits(s, piece, crBases, wl, c.numWords);
    AlignByHits(st, s, c, startPos, endPos, numMatches);
}

}  // namespace

// Piece positions to sequence positions (markers pass through).
void ToSequencePositions(const State& st, LpamCall& c, Integer from, Integer to, Integer& startPos, Integer& endPos) {
    if (IsValidPos(startPos)) {
        Check(st, c, IsValidPos(endPos));
        startPos = startPos + from - 1;
        endPos = endPos + from - 1;
        Check(st, c, from <= startPos && startPos <= to && from <= endPos && endPos <= to);
    } else {
        Check(st, c, !IsValidPos(endPos));
    }
}

}  // namespace lpam

using namespace lpam;

void InitLPAM(Session& session) {
    LpamState& l = session.lpam;
    l.lpamMaxLengthVariation = session.maxLengthVariation;
    l.lpamWordLength = session.wordLength;
    l.lpamMinAcceptance = ToSingle(double(session.minAcceptancePct) / 100);
    l.lpamStdAcceptance = ToSingle(double(session.stdAcceptancePct) / 100);
    l.lpamMinCRLength = session.minCRLength;
}

void SetLPAMParameters(Session& session, Integer maxLengthVariation, Integer wordLength, Integer stdAcceptancePct,
                       Integer minAcceptancePct, Integer minCRLength) {
    LpamState& l = session.lpam;
    l.lpamMaxLengthVariation = maxLengthVariation;
    l.lpamWordLength = wordLength;
    l.lpamStdAcceptance = ToSingle(double(stdAcceptancePct) / 100);
    l.lpamMinAcceptance = ToSingle(double(minAcceptancePct) / 100);
    l.lpamMinCRLength = minCRLength;
}

void GetLPAMParameters(const Session& session, Integer& maxLengthVariation, Integer& wordLength,
                       Integer& stdAcceptancePct, Integer& minAcceptancePct, Integer& minCRLength) {
    const LpamState& l = session.lpam;
    maxLengthVariation = l.lpamMaxLengthVariation;
    wordLength = l.lpamWordLength;
    stdAcceptancePct = RoundToInteger(double(l.lpamStdAcceptance) * 100);
    minAcceptancePct = RoundToInteger(double(l.lpamMinAcceptance) * 100);
    minCRLength = l.lpamMinCRLength;
}

void LPAMAlign(State& st, const std::string& crBases, const std::string& sequence, Integer from, Integer to,
               Integer& numMatches, Integer& startPos, Integer& endPos) {
    Assert(st, from <= to);
    const bool truncBegin = from <= 1;
    const bool truncEnd = to >= Len(sequence);
    const std::string piece = SubStr(sequence, from, to);
    LPAMAlignPiece(st, piece, crBases, startPos, endPos, numMatches, truncBegin, truncEnd);
    LpamCall c{piece.data(), crBases, 0, 0, 0, truncBegin, truncEnd};
    ToSequencePositions(st, c, from, to, startPos, endPos);
}

}  // namespace varigap

// LPAM: word votes on diagonals, a drifting walk along the winner, and the search for a
// second placement outside the band of allowed length variation.
#include "engine/detail/lpam.h"

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
#include "engine/detail/cr_words.h"
#include "engine/detail/word_sets.h"

namespace varigap {

namespace {

// The counted occurrences of one word of the region in the piece: the diagonals of up to
// MAXWORDHITS of them, in increasing position.
struct HitList {
    int32_t first = 0;  // in LpamScratch::diagonals
    int32_t count = 0;
};

// One slot of the vote table. The table is sorted by decreasing score, and a score that
// grows moves up only past strictly smaller ones; so among equal scores the slot that reached
// its score first stays ahead. `stamp` records that moment, which makes the table order
// (score descending, stamp ascending) without keeping the table physically sorted.
struct Vote {
    int32_t diagonal = NODIAGONAL;
    Single score = 0;
    uint32_t stamp = 0;
    int32_t heapPos = -1;
};

// True when a stands after b in the vote table.
inline bool Later(const Vote& a, const Vote& b) {
    return a.score < b.score || (a.score == b.score && a.stamp > b.stamp);
}

// What a diagonal holds, valid in the call numbered `call` only, so that the table of
// diagonals is never cleared.
struct DiagonalVote {
    uint32_t call = 0;
    int32_t vote = 0;       // vote + 1, 0 none
    int32_t firstWord = 0;  // the first word with a hit on it
};

// A hit off the guessed winner: its diagonal, its word, and how many hits the word has.
struct OffHit {
    int32_t diagonal, word, count;  // word from 0
};

// The votes of a root CR's words in one window of one read, for every CR that shares them: the
// guessed winner, the words with a single hit on it, and every other hit in vote order.
struct RootVotes {
    const ReadWords* read = nullptr;
    uint32_t readStamp = 0;
    int32_t root = -1, from = 0, to = 0;
    int guess = NODIAGONAL;         // NODIAGONAL: no guess; the CRs are voted for on their own
    int numWords = 0;               // of the root
    std::vector<uint8_t> onGuess;   // per word: a single hit, on the guess
    std::vector<int32_t> before;    // per word and one more: words before it with onGuess
    std::vector<int32_t> nextOn;    // per word and one more: the first word at or after it with onGuess
    std::vector<OffHit> off;        // every other hit, in vote order
    std::vector<int32_t> offStart;  // per word and one more: its first entry in off
};

// Buffers of one state, reused from call to call.
struct LpamScratch {
    // A piece searched on its own: the region's distinct words and their first hits in it.
    WordSet crWords;
    std::vector<int32_t> wordOf;                                // per region word: its number in crWords
    std::vector<std::array<int32_t, MAXWORDHITS + 1>> wordPos;  // per distinct word: count, positions
    // The call: each region word's hits, and the vote table.
    std::vector<HitList> hits;  // per region word
    std::vector<int32_t> diagonals;
    std::vector<OffHit> offHits;       // quick votes: the hits off the guessed winner, in vote order
    std::vector<uint8_t> onGuess;      // quick votes: per word, a single hit, on the guessed winner
    std::vector<RootVotes> rootVotes;  // of the last root CRs and windows asked for
    // FewestAccepted of the last thresholds and lengths, by length: the same few come back
    // for every read.
    struct Fewest {
        Single thr = -1;
        int crLen = -1, need = 0;
    };
    mutable std::array<Fewest, 64> fewest;
    size_t nextRootVotes = 0;  // the entry to be used next
    uint32_t call = 0;
    int minDiagonal = 0;               // lowest diagonal a hit can have
    std::vector<DiagonalVote> voteOf;  // per diagonal (d - minDiagonal)
    std::vector<Vote> votes;           // the table: its first numVotes slots
    int numVotes = 0;
    std::vector<int32_t> heap;  // votes with the last one of the table on top
};

LpamScratch& Scratch(State& st) { return st.lpamScratch.Get<LpamScratch>(); }

// One alignment: the region, the piece it is placed in, and what follows from them.
struct LpamCall {
    const char* piece;  // piece position q is piece[q - 1]
    const std::string& crBases;
    int crLen, pieceLen, numWords;
    bool truncBegin, truncEnd;  // the piece begins / ends where the sequence does
    bool reported = false;      // a message was shown or an internal check failed
    // The bases each character of the region and of the piece stands for (nullptr when some
    // character stands for none): a straight walk compares them sixteen at a time.
    const char* crMasks = nullptr;
    const char* pieceMasks = nullptr;
};

// Assert that also remembers a failure in the call.
void Check(const State& st, LpamCall& c, bool condition) {
    c.reported = c.reported || !condition;
    Assert(st, condition);
}

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

// An empty vote table for a call of c, with room for tableSize slots.
void StartVotes(LpamScratch& s, const LpamCall& c, int tableSize) {
    s.minDiagonal = 2 - c.numWords;
    const size_t diagonals = static_cast<size_t>(c.pieceLen + c.numWords + 1);
    if (s.voteOf.size() < diagonals) s.voteOf.resize(diagonals);
    if (++s.call == 0) {  // the call numbers went round: forget them all
        for (DiagonalVote& d : s.voteOf) d.call = 0;
        s.call = 1;
    }
    if (s.votes.size() < static_cast<size_t>(tableSize)) s.votes.resize(static_cast<size_t>(tableSize));
    s.heap.clear();
}

// Every word hands out one vote, split evenly over its counted occurrences, to the diagonals
// they lie on. A full table hands its last slot to a new diagonal, which keeps the score found
// there (reported as a logic error, as it loses votes); the heap that finds that slot is
// built only once the table is full.
void CastVotes(const State& st, LpamScratch& s, LpamCall& c, int tableSize) {
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
                Check(st, c, false);
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
    const unsigned char* const mask = detail::kBaseMask.data();
    // On a diagonal that is not the region's, words hit or miss and bases match or not at
    // random: the usual cases go without branches (a word without hits reads a diagonal it
    // does not take, so diagonals holds one entry past the last hit).
    int d = cur, missed = 0;
    for (int p = 1; p <= crLen; ++p) {
        if (p <= numWords) {
            const HitList& h = hits[p - 1];
            if (h.count > 1) {
                ClosestHit(s, p, d, drift, d);
            } else {
                const int e = diagonals[h.first];
                d = h.count == 1 && std::abs(e - d) <= drift ? e : d;
            }
        }
        const int q = p + d - 1;
        const bool inside = static_cast<unsigned>(q - 1) < static_cast<unsigned>(pieceLen);
        const char a = crBases[p - 1], b = piece[inside ? q - 1 : 0];
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

// The word hits of a call as the quick votes keep them: words with a single hit on the guessed
// winner, and every other hit in order of word and position.
struct SparseHits {
    const uint8_t* onGuess;  // per word
    int guess;
    const OffHit* off;
    int numOff;
};

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
                missed = RangeMisses(c.crMasks, c.pieceMasks, pieceLen, d, p, std::min(next - 1, crLen), missed, allowed);
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

// Walks the region along diagonal d (word hits in s) and returns whether enough bases match;
// on success startPos..endPos is the placement, clipped to the piece. nearWord: the first word
// with a hit within the band of d (0 none, -1 to be looked up); straight: no hit but d's own
// lies within the walk's drift of d, so the walk stays on d.
bool TryDiagonal(const State& st, const LpamScratch& s, LpamCall& c, Integer d, Integer& startPos, Integer& endPos,
                 int nearWord = -1, bool straight = false, const SparseHits* sparse = nullptr) {
    if (d == NODIAGONAL) {
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    const LpamState& l = st.lpam;
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
    const int missed =
        straight && c.crMasks && c.pieceMasks
            ? RangeMisses(c.crMasks, c.pieceMasks, pieceLen, d, 1, crLen, 0, allowedMisses)
        : sparse ? WalkSparse(*sparse, c, 2 * band, allowedMisses, cur)
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

void SetNotFound(Integer& numMatches, Integer& startPos, Integer& endPos) {
    numMatches = 0;
    startPos = POSNOTFOUND;
    endPos = POSNOTFOUND;
}

int TableSize(int numWords) { return numWords < 2000 ? 5 * numWords : 10000; }

// The winning diagonal of the votes in s and the rival outside its band; positions are piece
// positions.
void AlignByVotes(State& st, LpamScratch& s, LpamCall& c, Integer& startPos, Integer& endPos, Integer& numMatches) {
    int best = NODIAGONAL, rival = NODIAGONAL;
    BestAndRival(s, st.lpam.lpamMaxLengthVariation, best, rival);

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

// The votes of the word hits in s, then the placement they give.
void AlignByHits(State& st, LpamScratch& s, LpamCall& c, Integer& startPos, Integer& endPos, Integer& numMatches) {
    CastVotes(st, s, c, TableSize(c.numWords));
    AlignByVotes(st, s, c, startPos, endPos, numMatches);
}

// LPAMAlign on a piece already cut out; positions are piece positions. truncBegin / truncEnd:
// the piece begins / ends where the sequence does, so the region may hang over that end.
void LPAMAlignPiece(State& st, const std::string& piece, const std::string& crBases, Integer& startPos, Integer& endPos,
                    Integer& numMatches, bool truncBegin, bool truncEnd) {
    const LpamState& l = st.lpam;
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

// The word hits of an indexed call and their votes in one pass over the region's words: each
// word's first occurrences that lie wholly inside the window, from the read's index, voted for
// as CastVotes does. False when the vote table ran full: the hits are all there, and the votes
// are to be cast again by CastVotes, which reports it.
bool GatherAndVote(LpamScratch& s, const ReadWords& rw, const int32_t* words, int from, int to, int wl,
                   const LpamCall& c) {
    const int numWords = c.numWords, tableSize = TableSize(numWords);
    if (s.hits.size() < static_cast<size_t>(numWords)) s.hits.resize(static_cast<size_t>(numWords));
    if (s.diagonals.size() <= static_cast<size_t>(numWords) * MAXWORDHITS)
        s.diagonals.resize(static_cast<size_t>(numWords) * MAXWORDHITS + 1);
    StartVotes(s, c, tableSize);
    HitList* const hits = s.hits.data();
    int32_t* const diagonals = s.diagonals.data();
    DiagonalVote* const voteOf = s.voteOf.data() - s.minDiagonal;  // by diagonal
    Vote* const votes = s.votes.data();
    const uint32_t call = s.call;
    // The read's index in locals: the stores below cannot change it.
    const ReadWords::Occ* const occ = rw.occ.data();
    const int32_t* const pos = rw.pos.data();
    const uint32_t stamp = rw.stamp;
    // Positions of the whole sequence need no bound; the index holds only words inside it.
    const bool clipFront = from > 1, clipBack = to < static_cast<int>(rw.seq.size());
    const int lastStart = to - wl + 1;
    int32_t used = 0;
    int numVotes = 0;
    uint32_t now = 0;
    bool full = false;
    for (int i = 0; i < numWords; ++i) {
        const ReadWords::Occ& o = occ[words[i]];
        const int32_t count = o.stamp == stamp ? o.count : 0;
        const int32_t* p = pos + (count ? o.first : 0);
        const int32_t* end = p + count;
        if (clipFront) {
            if (count > 8) p = std::lower_bound(p, end, static_cast<int32_t>(from));
            else
                while (p < end && *p < from) ++p;
        }
        if (end - p > MAXWORDHITS) end = p + MAXWORDHITS;
        if (clipBack)
            while (end > p && end[-1] > lastStart) --end;
        // Sequence position P faces piece position P - from + 1, so word i + 1 (0-based i) on
        // diagonal P - from + 1 - i.
        const int32_t offset = from - 1 + i;
        const int32_t first = used;
        const int n = static_cast<int>(end - p);
        hits[i] = HitList{first, n};
        if (n == 0) continue;
        const int word = i + 1;
        if (n == 1) {
            // A whole vote: adding one to a Single in single precision rounds as the sum in
            // double rounded to a Single does, and always changes it.
            const int d = *p - offset;
            diagonals[used++] = d;
            if (full) continue;
            DiagonalVote& dv = voteOf[d];
            if (dv.call != call) dv = DiagonalVote{call, 0, word};
            ++now;
            if (dv.vote > 0) {
                Vote& v = votes[dv.vote - 1];
                v.score += 1.0f;
                v.stamp = now;
            } else if (numVotes < tableSize) {
                votes[numVotes++] = Vote{d, 1.0f, now, -1};
                dv.vote = numVotes;
            } else {
                full = true;
            }
            continue;
        }
        for (; p < end; ++p) diagonals[used++] = *p - offset;
        if (full) continue;
        const double share = 1.0 / n;
        for (int k = first; k < used && !full; ++k) {
            const int d = diagonals[k];
            DiagonalVote& dv = voteOf[d];
            if (dv.call != call) dv = DiagonalVote{call, 0, word};
            ++now;
            if (dv.vote > 0) {
                Vote& v = votes[dv.vote - 1];
                const Single score = ToSingle(double(v.score) + share);
                if (score != v.score) {
                    v.score = score;
                    v.stamp = now;
                }
            } else if (numVotes < tableSize) {
                votes[numVotes++] = Vote{d, ToSingle(0.0 + share), now, -1};
                dv.vote = numVotes;
            } else {
                full = true;
            }
        }
    }
    s.numVotes = numVotes;
    return !full;
}

// The share of a vote of a word with n counted hits, 1 / n.
constexpr std::array<double, MAXWORDHITS + 1> kShare = [] {
    std::array<double, MAXWORDHITS + 1> share{};
    for (int n = 1; n <= MAXWORDHITS; ++n) share[static_cast<size_t>(n)] = 1.0 / n;
    return share;
}();

// A word's first occurrences that lie wholly inside the window from..to, from the read's index:
// [p, end), in increasing position.
struct WindowHits {
    const ReadWords::Occ* occ;
    const int32_t* pos;
    uint32_t stamp;
    int32_t from, lastStart;
    bool clipFront, clipBack;  // the window leaves out the sequence's first / last bases

    WindowHits(const ReadWords& rw, int from, int to, int wl)
        : occ(rw.occ.data()),
          pos(rw.pos.data()),
          stamp(rw.stamp),
          from(from),
          lastStart(to - wl + 1),
          clipFront(from > 1),
          clipBack(to < static_cast<int>(rw.seq.size())) {}

    // Positions of the whole sequence need no bound; the index holds only words inside it.
    void Of(int32_t word, const int32_t*& p, const int32_t*& end) const {
        const ReadWords::Occ& o = occ[word];
        const int32_t count = o.stamp == stamp ? o.count : 0;
        p = pos + (count ? o.first : 0);
        end = p + count;
        if (clipFront) {
            if (count > 8) p = std::lower_bound(p, end, from);
            else
                while (p < end && *p < from) ++p;
        }
        if (end - p > MAXWORDHITS) end = p + MAXWORDHITS;
        if (clipBack)
            while (end > p && end[-1] > lastStart) --end;
    }
};

// The diagonal that two neighbouring words with a single hit each share, the first such pair
// among the first words: the likely winner of the votes. NODIAGONAL when there is none.
int GuessWinner(const WindowHits& wh, const int32_t* words, int numWords) {
    constexpr int kLook = 16;
    int last = NODIAGONAL;
    for (int i = 0; i < numWords && i < kLook; ++i) {
        const int32_t *p, *end;
        wh.Of(words[i], p, end);
        const int d = end - p == 1 ? *p - i : NODIAGONAL;  // up to the window's offset
        if (d != NODIAGONAL && d == last) return d - (wh.from - 1);
        last = d;
    }
    return NODIAGONAL;
}

// The votes read where one diagonal plainly wins: it holds more words with a single hit than
// there are hits on all other diagonals together, so no other score can reach its own however
// the shares round. Only the diagonals outside its band are then voted for, to find the rival.
struct PlainVotes {
    int best = NODIAGONAL, rival = NODIAGONAL;
    int firstSingle = 0;   // the first word (from 1) with a single hit, on best; 0 none
    bool straight = true;  // no other hit lies within the walk's drift of best
    int numOff = 0;        // hits off best, in s.offHits
};

// The hits off the guessed diagonal (s.offHits, numOff of them, in vote order), single: the
// words with one hit, on the guess. Votes for the diagonals outside the band as CastVotes
// does and fills v; false when the guess does not plainly win or the table runs full.
bool VoteOffGuess(LpamScratch& s, const LpamCall& c, int guess, int band, int single, int numOff, PlainVotes& v) {
    const int numWords = c.numWords, drift = 2 * band;
    StartVotes(s, c, TableSize(numWords));
    DiagonalVote* const voteOf = s.voteOf.data() - s.minDiagonal;  // by diagonal
    Vote* const votes = s.votes.data();
    const uint32_t call = s.call;
    const int tableSize = TableSize(numWords);
    const OffHit* const offHits = s.offHits.data();
    int other = 0, numVotes = 0;
    // Only the order of the votes counts: vote j is cast at time j + 1.
    for (int j = 0; j < numOff; ++j) {
        const int word = offHits[j].word, n = offHits[j].count, d = offHits[j].diagonal;
        const int dist = d - guess;
        if (dist == 0) continue;  // a word with several hits, one of them on the guessed diagonal
        ++other;
        if (dist >= -drift && dist <= drift) v.straight = false;
        if (dist >= -band && dist <= band) continue;
        DiagonalVote& dv = voteOf[d];
        if (dv.call != call) dv = DiagonalVote{call, 0, word + 1};
        const uint32_t now = static_cast<uint32_t>(j + 1);
        if (dv.vote > 0) {
            Vote& slot = votes[dv.vote - 1];
            const Single score = ToSingle(double(slot.score) + kShare[static_cast<size_t>(n)]);
            if (score != slot.score) {
                slot.score = score;
                slot.stamp = now;
            }
        } else if (numVotes < tableSize) {
            votes[numVotes++] = Vote{d, ToSingle(kShare[static_cast<size_t>(n)]), now, -1};
            dv.vote = numVotes;
        } else {
            return false;  // the table runs full: left to CastVotes, which reports it
        }
    }
    if (single <= other) return false;
    v.best = guess;
    v.numOff = numOff;
    s.numVotes = numVotes;
    const Vote* top = nullptr;
    for (int j = 0; j < numVotes; ++j)
        if (!top || Later(*top, votes[j])) top = &votes[j];
    v.rival = top ? top->diagonal : NODIAGONAL;
    return true;
}

// --- votes shared by CRs with a common root ---

// The votes of root CR `root` in window from..to of rw, kept for the last few windows asked for.
const RootVotes& RootVotesFor(LpamScratch& s, const ReadWords& rw, const WindowHits& wh, int32_t root, int from,
                              int to) {
    for (const RootVotes& rv : s.rootVotes)
        if (rv.read == &rw && rv.readStamp == rw.stamp && rv.root == root && rv.from == from && rv.to == to) return rv;
    constexpr size_t kKept = 8;
    if (s.rootVotes.size() < kKept) s.rootVotes.emplace_back();
    RootVotes& rv = s.rootVotes[s.nextRootVotes++ % s.rootVotes.size()];
    rv.read = &rw;
    rv.readStamp = rw.stamp;
    rv.root = root;
    rv.from = from;
    rv.to = to;
    const std::vector<int32_t>& words = rw.words->crs[static_cast<size_t>(root)].words;
    const int n = static_cast<int>(words.size());
    rv.numWords = n;
    rv.guess = GuessWinner(wh, words.data(), n);
    if (rv.guess == NODIAGONAL) return rv;
    rv.onGuess.assign(static_cast<size_t>(n), 0);
    rv.before.resize(static_cast<size_t>(n) + 1);
    rv.nextOn.resize(static_cast<size_t>(n) + 1);
    rv.offStart.resize(static_cast<size_t>(n) + 1);
    rv.off.clear();
    rv.before[0] = 0;
    for (int i = 0; i < n; ++i) {
        const int32_t *p, *end;
        wh.Of(words[static_cast<size_t>(i)], p, end);
        const int hits = static_cast<int>(end - p);
        const int32_t offset = from - 1 + i;
        rv.offStart[static_cast<size_t>(i)] = static_cast<int32_t>(rv.off.size());
        if (hits == 1 && *p - offset == rv.guess) {
            rv.onGuess[static_cast<size_t>(i)] = 1;
        } else {
            for (; p < end; ++p) rv.off.push_back(OffHit{*p - offset, i, hits});
        }
        rv.before[static_cast<size_t>(i) + 1] = rv.before[static_cast<size_t>(i)] + rv.onGuess[static_cast<size_t>(i)];
    }
    rv.offStart[static_cast<size_t>(n)] = static_cast<int32_t>(rv.off.size());
    rv.nextOn[static_cast<size_t>(n)] = n;
    for (int i = n; i-- > 0;)
        rv.nextOn[static_cast<size_t>(i)] =
            rv.onGuess[static_cast<size_t>(i)] ? i : rv.nextOn[static_cast<size_t>(i) + 1];
    return rv;
}

// The quick votes of CR `cr` from its root's: the shared words' hits as the root has them
// (diagonals moved by the shift), its own words looked up. False as VoteOffGuess.
bool VoteFromRoot(LpamScratch& s, const WindowHits& wh, const RootVotes& rv, const TemplateWords::CR& cr,
                  const LpamCall& c, int band, PlainVotes& v) {
    const int nB = c.numWords, nA = rv.numWords, shift = cr.shift;
    const int guess = rv.guess - shift;
    const int lo = std::max(0, shift), hi = std::min(nB, nA + shift);  // words of cr that the root may share
    const size_t room = rv.off.size() + cr.own.size() * MAXWORDHITS + 1;
    if (s.offHits.size() < room) s.offHits.resize(room);
    OffHit* const out = s.offHits.data();
    const uint8_t* const isOwn = cr.isOwn.empty() ? nullptr : cr.isOwn.data();
    int single = 0, numOff = 0, firstOnGuess = nB;
    if (s.onGuess.size() < static_cast<size_t>(nB)) s.onGuess.resize(static_cast<size_t>(nB));
    uint8_t* const onGuess = s.onGuess.data();
    std::fill(onGuess, onGuess + nB, uint8_t{0});
    if (lo < hi) std::copy(rv.onGuess.begin() + (lo - shift), rv.onGuess.begin() + (hi - shift), onGuess + lo);
    if (lo < hi) {
        single = rv.before[static_cast<size_t>(hi - shift)] - rv.before[static_cast<size_t>(lo - shift)];
        int j = rv.nextOn[static_cast<size_t>(lo - shift)];
        while (j < hi - shift && isOwn && isOwn[j + shift]) j = rv.nextOn[static_cast<size_t>(j) + 1];
        if (j < hi - shift) firstOnGuess = j + shift;
    }
    // The root's other hits come over by runs of words, between the words of cr's own.
    int next = lo - shift;  // the root's word whose hits come next
    auto sharedUpTo = [&](int upTo) {
        if (lo >= hi || upTo <= next) return;
        const OffHit* h = rv.off.data() + rv.offStart[static_cast<size_t>(next)];
        const OffHit* const end = rv.off.data() + rv.offStart[static_cast<size_t>(upTo)];
        if (shift == 0) {
            std::copy(h, end, out + numOff);
            numOff += static_cast<int>(end - h);
        } else {
            for (; h < end; ++h) out[numOff++] = OffHit{h->diagonal - shift, h->word + shift, h->count};
        }
        next = upTo;
    };
    for (const int32_t i : cr.own) {
        const int j = i - shift;  // the root's word facing it, another word
        if (i >= lo && i < hi) {
            sharedUpTo(j);
            next = j + 1;
            single -= rv.onGuess[static_cast<size_t>(j)];
        } else if (i >= hi) {
            sharedUpTo(hi - shift);
        }
        onGuess[i] = 0;
        const int32_t *p, *end;
        wh.Of(cr.words[static_cast<size_t>(i)], p, end);
        const int hits = static_cast<int>(end - p);
        const int32_t offset = wh.from - 1 + i;
        if (hits == 1 && *p - offset == guess) {
            ++single;
            onGuess[i] = 1;
            firstOnGuess = std::min<int>(firstOnGuess, i);
        } else {
            for (; p < end; ++p) out[numOff++] = OffHit{*p - offset, i, hits};
        }
    }
    sharedUpTo(hi - shift);
    if (firstOnGuess < nB) v.firstSingle = firstOnGuess + 1;
    return VoteOffGuess(s, c, guess, band, single, numOff, v);
}

// The first word (from 1) with a hit within band of diagonal d, from plainly read votes; 0 none.
int FirstWordNearPlain(const LpamScratch& s, const PlainVotes& v, int d, int band) {
    int first = v.firstSingle && std::abs(v.best - d) <= band ? v.firstSingle : 0;
    for (int j = 0; j < v.numOff; ++j) {  // in order of words
        const OffHit& h = s.offHits[static_cast<size_t>(j)];
        if (first && h.word + 1 >= first) break;
        if (std::abs(h.diagonal - d) <= band) return h.word + 1;
    }
    return first;
}

// Whether no hit but d's own lies within drift of diagonal d (d off the band of best).
bool StraightAt(const LpamScratch& s, const PlainVotes& v, int d, int drift) {
    if (std::abs(d - v.best) <= drift) return false;
    for (int j = 0; j < v.numOff; ++j) {
        const int e = s.offHits[static_cast<size_t>(j)].diagonal;
        if (e != d && std::abs(e - d) <= drift) return false;
    }
    return true;
}

// AlignByVotes on plainly read votes.
void AlignByPlainVotes(State& st, LpamScratch& s, LpamCall& c, const PlainVotes& v, int band, Integer& startPos,
                       Integer& endPos, Integer& numMatches) {
    const SparseHits sparse{s.onGuess.data(), v.best, s.offHits.data(), v.numOff};
    // A walk that stays on its diagonal needs no anchor.
    const int nearBest = v.straight ? 0 : FirstWordNearPlain(s, v, v.best, band);
    if (!TryDiagonal(st, s, c, v.best, startPos, endPos, nearBest, v.straight, &sparse)) {
        SetNotFound(numMatches, startPos, endPos);
        return;
    }
    if (v.rival == NODIAGONAL) {
        numMatches = 1;
        Check(st, c, IsValidPos(startPos) && IsValidPos(endPos));
        return;
    }
    Integer otherStart, otherEnd;
    const bool straight = StraightAt(s, v, v.rival, 2 * band);
    if (TryDiagonal(st, s, c, v.rival, otherStart, otherEnd, straight ? 0 : FirstWordNearPlain(s, v, v.rival, band),
                    straight, &sparse)) {
        numMatches = 2;
        startPos = POSAMBIGUOUS;
        endPos = POSAMBIGUOUS;
    } else {
        numMatches = 1;
    }
}

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

}  // namespace

void InitLPAM(State& st) {
    LpamState& l = st.lpam;
    l.lpamMaxLengthVariation = st.maxLengthVariation;
    l.lpamWordLength = st.wordLength;
    l.lpamMinAcceptance = ToSingle(double(st.minAcceptancePct) / 100);
    l.lpamStdAcceptance = ToSingle(double(st.stdAcceptancePct) / 100);
    l.lpamMinCRLength = st.minCRLength;
}

void SetLPAMParameters(State& st, Integer maxLengthVariation, Integer wordLength, Integer stdAcceptancePct,
                       Integer minAcceptancePct, Integer minCRLength) {
    LpamState& l = st.lpam;
    l.lpamMaxLengthVariation = maxLengthVariation;
    l.lpamWordLength = wordLength;
    l.lpamStdAcceptance = ToSingle(double(stdAcceptancePct) / 100);
    l.lpamMinAcceptance = ToSingle(double(minAcceptancePct) / 100);
    l.lpamMinCRLength = minCRLength;
}

void GetLPAMParameters(const State& st, Integer& maxLengthVariation, Integer& wordLength, Integer& stdAcceptancePct,
                       Integer& minAcceptancePct, Integer& minCRLength) {
    const LpamState& l = st.lpam;
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

bool LPAMAlignIndexed(State& st, const ReadWords& rw, int32_t cr, Integer from, Integer to, Integer& numMatches,
                      Integer& startPos, Integer& endPos) {
    const TemplateWords& tw = *rw.words;
    const TemplateWords::CR& region = tw.crs[static_cast<size_t>(cr)];
    const std::string& seq = rw.seq;
    const int crLen = static_cast<int>(region.bases.size()), seqLen = static_cast<int>(seq.size());
    const int wl = tw.wordLength, pieceLen = to - from + 1;
    // Whatever the index does not cover, or what ends in a message, goes the ordinary way: a
    // window that is no part of the sequence or too long, a region too short or cut into no
    // words, other parameters.
    if (from < 1 || from > to || to > seqLen || pieceLen > maxSeqLen || crLen > 32767 ||
        crLen < st.lpam.lpamMinCRLength || region.words.empty() || wl != std::max<int>(st.lpam.lpamWordLength, 1)) {
        LPAMAlign(st, region.bases, seq, from, to, numMatches, startPos, endPos);
        return false;
    }
    const int numWords = crLen - wl + 1;
    // Bases are matched without regard to case: the region in upper case lets equal letters
    // match at once.
    LpamCall c{seq.data() + from - 1, region.upper, crLen, pieceLen, numWords, from <= 1, to >= seqLen};
    if (!region.masks.empty() && !rw.masks.empty()) {
        c.crMasks = region.masks.data();
        c.pieceMasks = rw.masks.data() + from - 1;
    }

    LpamScratch& s = Scratch(st);
    const int band = st.lpam.lpamMaxLengthVariation;
    const WindowHits wh(rw, from, to, wl);
    // The quick votes hold while no score can gather enough rounding to change the order:
    // regions of up to 2000 words, whose hits never fill the table.
    // Through the votes of the CR's root when they show a plain winner; else the full table.
    if (numWords <= 2000 && band >= 0 && region.root >= 0) {
        const RootVotes& rv = RootVotesFor(s, rw, wh, region.root, from, to);
        PlainVotes plain;
        if (rv.guess != NODIAGONAL && VoteFromRoot(s, wh, rv, region, c, band, plain)) {
            AlignByPlainVotes(st, s, c, plain, band, startPos, endPos, numMatches);
            ToSequencePositions(st, c, from, to, startPos, endPos);
            return !c.reported;
        }
    }
    if (!GatherAndVote(s, rw, region.words.data(), from, to, wl, c)) CastVotes(st, s, c, TableSize(numWords));
    AlignByVotes(st, s, c, startPos, endPos, numMatches);
    ToSequencePositions(st, c, from, to, startPos, endPos);
    return !c.reported;
}

}  // namespace varigap

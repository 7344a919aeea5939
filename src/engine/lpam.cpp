// LPAM: word votes on diagonals, a drifting walk along the winner, and the search for a
// second placement outside the band of allowed length variation.
#include "engine/detail/lpam.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/bases.h"
#include "core/messages.h"
#include "core/strings.h"

namespace varigap {

namespace {

// One distinct word of the region and its first occurrences in the piece (letters compared
// without regard to case, ambiguity codes taken as plain letters), in increasing position.
struct WordBucket {
    uint64_t hash = 0;
    int32_t crPos = 0;  // 0-based start of the word in the region
    int32_t count = 0;
    int32_t pos[MAXWORDHITS] = {};  // 1-based piece positions
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

// Buffers of one state, reused from call to call.
struct LpamScratch {
    std::vector<uint64_t> filter;     // one bit per hash class that holds a region word
    std::vector<int32_t> slots;       // hash slots of the region's words: bucket + 1, 0 empty
    std::vector<WordBucket> buckets;  // distinct words of the region
    std::vector<int32_t> wordBucket;  // per region word (i - 1): its bucket
    int minDiagonal = 0;              // lowest diagonal a hit can have
    std::vector<int32_t> voteOf;      // per diagonal (d - minDiagonal): vote + 1, 0 none
    std::vector<Vote> votes;
    std::vector<int32_t> heap;  // votes with the last one of the table on top
};

LpamScratch& Scratch(State& st) { return st.lpamScratch.Get<LpamScratch>(); }

// --- word hits ---

constexpr uint64_t kHashBase = 0x100000001b3ULL;

inline uint64_t Up(char c) { return static_cast<unsigned char>(UpperChar(c)); }

inline bool SameWord(const char* a, const char* b, int n) {
    for (int j = 0; j < n; ++j)
        if (!UpperCaseEq(a[j], b[j])) return false;
    return true;
}

// Rolling hash of the words of length wl in s, letters taken as upper case:
// visit(p, hash) for the word at 0-based p = 0..n-1 until visit returns false.
template <class F>
void ForEachWordHash(const std::string& s, int wl, int n, F&& visit) {
    uint64_t outFactor = 1;  // kHashBase^(wl-1)
    for (int j = 1; j < wl; ++j) outFactor *= kHashBase;
    uint64_t h = 0;
    for (int j = 0; j < wl && j < static_cast<int>(s.size()); ++j) h = h * kHashBase + Up(s[static_cast<size_t>(j)]);
    for (int p = 0; p < n; ++p) {
        if (p > 0)
            h = (h - Up(s[static_cast<size_t>(p - 1)]) * outFactor) * kHashBase +
                Up(s[static_cast<size_t>(p + wl - 1)]);
        if (!visit(p, h)) return;
    }
}

// Finds the first MAXWORDHITS occurrences of every word of the region in one pass over the
// piece: the region's distinct words go into a small hash table, and each word of the piece
// is looked up there, behind a bit filter sixteen times larger than the table has words, so
// that the words of the piece that are no region word (most of them) cost one well-predicted
// test.
void FindWordHits(LpamScratch& s, const std::string& piece, const std::string& crBases, int wl, int numWords) {
    int slotBits = 4, filterBits = 10;
    while ((size_t{1} << slotBits) < 2 * static_cast<size_t>(numWords)) ++slotBits;
    while ((size_t{1} << filterBits) < 16 * static_cast<size_t>(numWords)) ++filterBits;
    const size_t mask = (size_t{1} << slotBits) - 1;
    auto mix = [](uint64_t h) { return h * 0x9e3779b97f4a7c15ULL; };
    auto slotOf = [&](uint64_t m) { return static_cast<size_t>(m >> (64 - slotBits)); };
    auto filterOf = [&](uint64_t m) { return static_cast<size_t>(m >> (64 - filterBits)); };
    s.filter.assign(size_t{1} << (filterBits - 6), 0);
    s.slots.assign(mask + 1, 0);
    s.buckets.clear();
    s.buckets.reserve(static_cast<size_t>(numWords));
    s.wordBucket.assign(static_cast<size_t>(numWords), -1);

    const char* cr = crBases.data();
    ForEachWordHash(crBases, wl, numWords, [&](int i, uint64_t h) {
        const uint64_t m = mix(h);
        const size_t f = filterOf(m);
        s.filter[f >> 6] |= uint64_t{1} << (f & 63);
        size_t slot = slotOf(m);
        while (int32_t id = s.slots[slot]) {
            const WordBucket& b = s.buckets[static_cast<size_t>(id - 1)];
            if (b.hash == h && SameWord(cr + b.crPos, cr + i, wl)) {
                s.wordBucket[static_cast<size_t>(i)] = id - 1;
                return true;
            }
            slot = (slot + 1) & mask;
        }
        WordBucket& b = s.buckets.emplace_back();
        b.hash = h;
        b.crPos = i;
        s.slots[slot] = static_cast<int32_t>(s.buckets.size());
        s.wordBucket[static_cast<size_t>(i)] = static_cast<int32_t>(s.buckets.size()) - 1;
        return true;
    });

    const char* text = piece.data();
    size_t open = s.buckets.size();  // words still short of MAXWORDHITS hits
    ForEachWordHash(piece, wl, static_cast<int>(piece.size()) - wl + 1, [&](int p, uint64_t h) {
        const uint64_t m = mix(h);
        const size_t f = filterOf(m);
        if (!((s.filter[f >> 6] >> (f & 63)) & 1)) return true;
        size_t slot = slotOf(m);
        while (int32_t id = s.slots[slot]) {
            WordBucket& b = s.buckets[static_cast<size_t>(id - 1)];
            if (b.hash == h && SameWord(cr + b.crPos, text + p, wl)) {
                if (b.count < MAXWORDHITS) {
                    b.pos[b.count++] = p + 1;
                    if (b.count == MAXWORDHITS) --open;
                }
                break;
            }
            slot = (slot + 1) & mask;
        }
        return open > 0;
    });
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

// Every word hands out one vote, split evenly over its counted occurrences, to the diagonals
// they lie on. A full table hands its last slot to a new diagonal, which keeps the score found
// there (reported as a logic error, as it loses votes); the heap that finds that slot is
// built only once the table is full.
void CastVotes(const State& st, LpamScratch& s, int numWords, int pieceLen, int tableSize) {
    s.minDiagonal = 2 - numWords;
    s.voteOf.assign(static_cast<size_t>(pieceLen + numWords + 1), 0);
    s.votes.clear();
    s.votes.reserve(static_cast<size_t>(tableSize));
    s.heap.clear();
    bool full = false;
    uint32_t now = 0;
    for (int i = 1; i <= numWords; ++i) {
        const WordBucket& b = s.buckets[static_cast<size_t>(s.wordBucket[static_cast<size_t>(i - 1)])];
        if (b.count == 0) continue;
        const double share = 1.0 / b.count;
        for (int k = 0; k < b.count; ++k) {
            const int d = b.pos[k] - i + 1;
            int32_t& slot = s.voteOf[static_cast<size_t>(d - s.minDiagonal)];
            ++now;
            if (slot > 0) {
                Vote& v = s.votes[static_cast<size_t>(slot - 1)];
                Single score = ToSingle(double(v.score) + share);
                if (score != v.score) {
                    v.score = score;
                    v.stamp = now;
                    if (full) HeapDown(s, static_cast<size_t>(v.heapPos));
                }
            } else if (static_cast<int>(s.votes.size()) < tableSize) {
                Vote& v = s.votes.emplace_back();
                v.diagonal = d;
                v.score = ToSingle(0.0 + share);
                v.stamp = now;
                slot = static_cast<int32_t>(s.votes.size());
            } else {
                Assert(st, false);
                if (!full) {
                    full = true;
                    s.heap.resize(s.votes.size());
                    for (size_t at = 0; at < s.heap.size(); ++at) HeapPlace(s, at, static_cast<int32_t>(at));
                    for (size_t at = s.heap.size() / 2; at-- > 0;) HeapDown(s, at);
                }
                int32_t last = s.heap[0];
                Vote& v = s.votes[static_cast<size_t>(last)];
                s.voteOf[static_cast<size_t>(v.diagonal - s.minDiagonal)] = 0;
                v.diagonal = d;
                v.score = ToSingle(double(v.score) + share);
                v.stamp = now;
                slot = last + 1;
                HeapDown(s, 0);
            }
        }
    }
}

// The diagonal of the first slot and the first diagonal of the table outside the band
// best - band .. best + band (NODIAGONAL when there is none).
void BestAndRival(const LpamScratch& s, int band, int& best, int& rival) {
    const Vote* first = nullptr;
    for (const Vote& v : s.votes)
        if (!first || Later(*first, v)) first = &v;
    best = first ? first->diagonal : NODIAGONAL;
    const Vote* outside = nullptr;
    for (const Vote& v : s.votes)
        if ((v.diagonal < best - band || v.diagonal > best + band) && (!outside || Later(*outside, v))) outside = &v;
    rival = outside ? outside->diagonal : NODIAGONAL;
}

// Among the counted hits of word i, the diagonal closest to target within maxDist, the
// earliest on a tie. False when none lies that close.
bool ClosestHit(const LpamScratch& s, int i, int target, int maxDist, int& found) {
    const WordBucket& b = s.buckets[static_cast<size_t>(s.wordBucket[static_cast<size_t>(i - 1)])];
    int bestDist = maxDist + 1;
    for (int k = 0; k < b.count && bestDist > 0; ++k) {
        int e = b.pos[k] - i + 1;
        int dist = std::abs(e - target);
        if (dist < bestDist) {
            bestDist = dist;
            found = e;
        }
    }
    return bestDist <= maxDist;
}

void SetNotFound(Integer& numMatches, Integer& startPos, Integer& endPos) {
    numMatches = 0;
    startPos = POSNOTFOUND;
    endPos = POSNOTFOUND;
}

// One alignment: the region, the piece it is placed in, and what follows from them.
struct LpamCall {
    const std::string& piece;
    const std::string& crBases;
    Integer crLen, pieceLen, numWords;
    bool truncBegin, truncEnd;  // the piece begins / ends where the sequence does
};

// Walks the region along diagonal d (word hits in s) and returns whether enough bases match;
// on success startPos..endPos is the placement, clipped to the piece.
bool TryDiagonal(const State& st, const LpamScratch& s, const LpamCall& c, Integer d, Integer& startPos,
                 Integer& endPos) {
    if (d == NODIAGONAL) {
        startPos = POSNOTFOUND;
        endPos = POSNOTFOUND;
        return false;
    }
    const LpamState& l = st.lpam;
    const std::string &piece = c.piece, &crBases = c.crBases;
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
    int anchor = d;
    for (int i = 1; i <= numWords; ++i)
        if (ClosestHit(s, i, d, band, anchor)) break;

    // Walk, drifting to the nearby diagonal of each word that has a hit close enough.
    int cur = anchor;
    int matched = 0;
    for (int p = 1; p <= crLen; ++p) {
        if (p <= numWords) ClosestHit(s, p, cur, 2 * band, cur);
        const int q = p + cur - 1;
        if (q >= 1 && q <= pieceLen &&
            BasesMatch(crBases[static_cast<size_t>(p - 1)], piece[static_cast<size_t>(q - 1)]))
            ++matched;
    }
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
    Assert(st, 1 <= first && last <= pieceLen);
    startPos = first;
    endPos = last;
    return true;
}

// LPAMAlign on a piece already cut out; positions are piece positions. truncBegin / truncEnd:
// the piece begins / ends where the sequence does, so the region may hang over that end.
void LPAMAlignPiece(State& st, const std::string& piece, const std::string& crBases, Integer& startPos, Integer& endPos,
                    Integer& numMatches, bool truncBegin, bool truncEnd) {
    const LpamState& l = st.lpam;
    LpamCall c{piece, crBases, Len(crBases), Len(piece), 0, truncBegin, truncEnd};
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
    const int numWords = c.numWords;
    const int tableSize = numWords < 2000 ? 5 * numWords : 10000;

    LpamScratch& s = Scratch(st);
    FindWordHits(s, piece, crBases, wl, numWords);
    CastVotes(st, s, numWords, c.pieceLen, tableSize);
    int best = NODIAGONAL, rival = NODIAGONAL;
    BestAndRival(s, l.lpamMaxLengthVariation, best, rival);

    if (!TryDiagonal(st, s, c, best, startPos, endPos)) {
        SetNotFound(numMatches, startPos, endPos);
        return;
    }
    if (rival == best || rival == NODIAGONAL) {
        numMatches = 1;
        Assert(st, IsValidPos(startPos) && IsValidPos(endPos));
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
    if (IsValidPos(startPos)) {
        Assert(st, IsValidPos(endPos));
        startPos = startPos + from - 1;
        endPos = endPos + from - 1;
        Assert(st, from <= startPos && startPos <= to && from <= endPos && endPos <= to);
    } else {
        Assert(st, !IsValidPos(endPos));
    }
}

}  // namespace varigap

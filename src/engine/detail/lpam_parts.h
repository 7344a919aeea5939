// Inside LPAM: the buffers and working records of one alignment, shared by the aligner of a
// piece of the sequence (lpam.cpp) and the aligner on a read's word index (lpam_indexed.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/state.h"
#include "engine/detail/cr_words.h"
#include "engine/detail/lpam.h"

namespace varigap::lpam {

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

inline LpamScratch& Scratch(State& st) { return st.lpamScratch.Get<LpamScratch>(); }

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
inline void Check(const State& st, LpamCall& c, bool condition) {
    c.reported = c.reported || !condition;
    Assert(st, condition);
}

// The word hits of a call as the quick votes keep them: words with a single hit on the guessed
// winner, and every other hit in order of word and position.
struct SparseHits {
    const uint8_t* onGuess;  // per word
    int guess;
    const OffHit* off;
    int numOff;
};

inline int TableSize(int numWords) { return numWords < 2000 ? 5 * numWords : 10000; }

inline void SetNotFound(Integer& numMatches, Integer& startPos, Integer& endPos) {
    numMatches = 0;
    startPos = POSNOTFOUND;
    endPos = POSNOTFOUND;
}

// An empty vote table for a call of c, with room for tableSize slots.
inline void StartVotes(LpamScratch& s, const LpamCall& c, int tableSize) {
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

// --- steps of an alignment (lpam.cpp) ---

// Every word hands out one vote, split evenly over its counted occurrences (s.hits), to the
// diagonals they lie on; a full table is reported as a logic error.
void CastVotes(State& st, LpamScratch& s, LpamCall& c, int tableSize);
// Walks the region along diagonal d and returns whether enough bases match; on success
// startPos..endPos is the placement, clipped to the piece. nearWord: the first word with a hit
// within the band of d (0 none, -1 to be looked up in s); straight: no hit but d's own lies
// within the walk's drift of d; sparse: the hits as the quick votes keep them (else s.hits).
bool TryDiagonal(const State& st, const LpamScratch& s, LpamCall& c, Integer d, Integer& startPos, Integer& endPos,
                 int nearWord = -1, bool straight = false, const SparseHits* sparse = nullptr);
// The winning diagonal of the vote table in s and the rival outside its band; piece positions.
void AlignByVotes(State& st, LpamScratch& s, LpamCall& c, Integer& startPos, Integer& endPos, Integer& numMatches);
// Piece positions to sequence positions (markers pass through).
void ToSequencePositions(const State& st, LpamCall& c, Integer from, Integer to, Integer& startPos, Integer& endPos);

}  // namespace varigap::lpam

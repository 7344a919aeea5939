// LPAM on a read's word index: each word's occurrences in a window come from the index, and
// the votes of CRs much like one another are read once per root CR and window of a read.
#include "engine/detail/lpam_parts.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/strings.h"
#include "engine/detail/cr_words.h"

namespace varigap {

namespace lpam {

namespace {

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

// The word hits of an indexed call and their votes in one pass over the region's words: each
// word's first occurrences that lie wholly inside the window, from the read's index, voted for
// as CastVotes does. False when the vote table ran full: the hits are all there, and the votes
// are to be cast again by CastVotes, which reports it.
bool GatherAndVote(LpamScratch& s, const WindowHits& wh, const int32_t* words, const LpamCall& c) {
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
    const int from = wh.from;
    int32_t used = 0;
    int numVotes = 0;
    uint32_t now = 0;
    bool full = false;
    for (int i = 0; i < numWords; ++i) {
        const int32_t *p, *end;
        wh.Of(words[i], p, end);
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
        const double share = kShare[static_cast<size_t>(n)];
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
    const int drift = 2 * band, tableSize = TableSize(c.numWords);
    StartVotes(s, c, tableSize);
    DiagonalVote* const voteOf = s.voteOf.data() - s.minDiagonal;  // by diagonal
    Vote* const votes = s.votes.data();
    const uint32_t call = s.call;
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

}  // namespace

}  // namespace lpam

using namespace lpam;

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
        crLen < st.session.lpam.lpamMinCRLength || region.words.empty() ||
        wl != std::max<int>(st.session.lpam.lpamWordLength, 1)) {
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
    const int band = st.session.lpam.lpamMaxLengthVariation;
    const WindowHits wh(rw, from, to, wl);
    // Through the votes of the CR's root, when it shares them with others and they show a plain
    // winner; else the full table. The quick votes hold while no score can gather enough
    // rounding to change the order: regions of up to 2000 words.
    if (numWords <= 2000 && band >= 0 && region.shared) {
        const RootVotes& rv = RootVotesFor(s, rw, wh, region.root, from, to);
        PlainVotes plain;
        if (rv.guess != NODIAGONAL && VoteFromRoot(s, wh, rv, region, c, band, plain)) {
            AlignByPlainVotes(st, s, c, plain, band, startPos, endPos, numMatches);
            ToSequencePositions(st, c, from, to, startPos, endPos);
            return !c.reported;
        }
    }
    if (!GatherAndVote(s, wh, region.words.data(), c)) CastVotes(st, s, c, TableSize(numWords));
    AlignByVotes(st, s, c, startPos, endPos, numMatches);
    ToSequencePositions(st, c, from, to, startPos, endPos);
    return !c.reported;
}

}  // namespace varigap

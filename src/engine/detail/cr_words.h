// Inside the engine: the words of every conserved region of the template table, indexed once
// per template table and word length, and where they occur in the analysed sequence, indexed
// once per sequence, so that one pass over a read serves every CR of every template.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/state.h"

namespace varigap {

// --- words ---

// Letters are compared without regard to case; ambiguity codes count as plain letters.
inline uint64_t WordByte(char c) { return static_cast<unsigned char>((c >= 'a' && c <= 'z') ? c - 32 : c); }

inline bool SameWord(const char* a, const char* b, int n) {
    for (int j = 0; j < n; ++j)
        if (WordByte(a[j]) != WordByte(b[j])) return false;
    return true;
}

// The two-bit code of a plain base A, C, G or T (either case), -1 for any other character.
constexpr std::array<int8_t, 256> kPlainCode = [] {
    std::array<int8_t, 256> code{};
    for (auto& c : code) c = -1;
    code['A'] = code['a'] = 0;
    code['C'] = code['c'] = 1;
    code['G'] = code['g'] = 2;
    code['T'] = code['t'] = 3;
    return code;
}();
static_assert(kPlainCode['g'] == 2 && kPlainCode['T'] == 3 && kPlainCode['N'] == -1 && kPlainCode['U'] == -1);

// Words of up to this many plain bases are known by their two-bit code.
constexpr int kMaxPackedWord = 32;

// Rolling hash of the words of length wl in s[0..size): visit(p, hash) for the word at 0-based
// p = 0..n-1 (n <= size - wl + 1) until visit returns false.
template <class F>
void ForEachWordHash(const char* s, size_t size, int wl, int n, F&& visit) {
    constexpr uint64_t kBase = 0x100000001b3ULL;
    uint64_t outFactor = 1;  // kBase^(wl-1)
    for (int j = 1; j < wl; ++j) outFactor *= kBase;
    uint64_t h = 0;
    for (size_t j = 0; j < static_cast<size_t>(wl) && j < size; ++j) h = h * kBase + WordByte(s[j]);
    for (int p = 0; p < n; ++p) {
        if (p > 0) h = (h - WordByte(s[p - 1]) * outFactor) * kBase + WordByte(s[p + wl - 1]);
        if (!visit(p, h)) return;
    }
}

// The hash ForEachWordHash gives the word of length wl at s.
inline uint64_t WordHash(const char* s, int wl) {
    uint64_t h = 0;
    ForEachWordHash(s, static_cast<size_t>(wl), wl, 1, [&](int, uint64_t hash) {
        h = hash;
        return false;
    });
    return h;
}

// Distinct words of one length (kept in upper case) behind a bit filter
// sixteen times larger than the set, so that a word that is none of them (most words of a
// read) costs one well-predicted test.
class WordSet {
public:
    // Room for up to `words` words of length wl.
    void Reset(size_t words, int wl);
    // The number of the word at `at` (hash h), -1 when it is not in the set.
    int32_t Find(uint64_t h, const char* at) const {
        const uint64_t m = Mix(h);
        const size_t f = static_cast<size_t>(m >> (64 - filterBits_));
        if (!((filter_[f >> 6] >> (f & 63)) & 1)) return -1;
        for (size_t slot = static_cast<size_t>(m >> (64 - slotBits_));; slot = (slot + 1) & slotMask_) {
            const int32_t id = slots_[slot];
            if (id == 0) return -1;
            const Word& w = words_[static_cast<size_t>(id - 1)];
            if (w.hash == h && SameWord(text_.data() + w.at, at, wl_)) return id - 1;
        }
    }
    // The number of the word at `at`, added when new.
    int32_t Add(uint64_t h, const char* at);
    size_t Size() const { return words_.size(); }

private:
    struct Word {
        uint64_t hash;
        size_t at;  // in text_
    };
    static uint64_t Mix(uint64_t h) { return h * 0x9e3779b97f4a7c15ULL; }

    int wl_ = 1, slotBits_ = 4, filterBits_ = 10;
    size_t slotMask_ = 15;
    std::vector<uint64_t> filter_;
    std::vector<int32_t> slots_;  // word + 1, 0 empty
    std::vector<Word> words_;
    std::string text_;  // the words one after another
};

// Words of plain bases by their two-bit code (exact), each with a number: a table indexed by
// the code for words of up to 8 bases, a hash table otherwise.
class PackedWords {
public:
    void Reset(size_t words, int wl);
    int32_t Find(uint64_t code) const {
        if (!direct_.empty()) return direct_[static_cast<size_t>(code)];
        for (size_t slot = static_cast<size_t>((code * 0x9e3779b97f4a7c15ULL) >> shift_);; slot = (slot + 1) & mask_) {
            if (ids_[slot] < 0) return -1;
            if (keys_[slot] == code) return ids_[slot];
        }
    }
    // The number of the word `code`; `id` when it is new.
    int32_t Add(uint64_t code, int32_t id);
    // The table by code, nullptr when the words are hashed.
    const int32_t* Direct() const { return direct_.empty() ? nullptr : direct_.data(); }

private:
    std::vector<int32_t> direct_;
    std::vector<uint64_t> keys_;
    std::vector<int32_t> ids_;  // -1 empty
    int shift_ = 60;
    size_t mask_ = 15;
};

// --- the template table's words ---

// The CRs of a template table cut into words of one length. Built from the state's table,
// then only read: copies of the state share it.
struct TemplateWords {
    int wordLength = 1;
    struct CR {
        std::string bases;
        std::string upper;           // bases in upper case
        std::vector<int32_t> words;  // per word (from CR position 1 on): its number among the CR words
    };
    std::vector<CR> crs;                     // distinct CRs (bases compared exactly)
    std::vector<std::vector<int32_t>> crOf;  // crOf[t][c]: the distinct CR of CR c of template t
    // Every word of every CR longer than a word, numbered 0..numWords-1: those of plain bases
    // (when words are short enough) in `packed`, the others in `others` (by their number there,
    // otherId gives the word's number).
    int32_t numWords = 0;
    PackedWords packed;
    WordSet others;
    std::vector<int32_t> otherId;

    // The number of the word at `at`, -1 when it is no CR word.
    int32_t FindOther(const char* at) const;

    // Whether template t's CRs are those of st's table.
    bool Holds(const State& st, int t) const;
};

// Makes st.templateWords hold template t's CRs at the working word length, indexing the whole
// template table anew when it does not.
const TemplateWords& TemplateWordsFor(State& st, int t);

// --- the analysed sequence's words ---

// A placement LPAM made of a CR in a window, kept for the same CR and window.
struct KeptPlacement {
    int32_t from, to;
    int16_t numMatches, startPos, endPos;
};

// Where the template table's words occur in one sequence, and the placements made in it.
struct ReadWords {
    std::shared_ptr<const TemplateWords> words;    // the words indexed
    std::string seq;                               // the sequence indexed
    LpamState params{};                            // working parameters of the kept placements
    std::vector<std::vector<KeptPlacement>> kept;  // per distinct CR

    // The 1-based positions of word g in seq, increasing.
    const int32_t* Occurrences(int32_t g, int32_t& count) const {
        const Occ& o = occ[static_cast<size_t>(g)];
        count = o.stamp == stamp ? o.count : 0;
        return pos.data() + (count ? o.first : 0);
    }

    struct Occ {
        uint32_t stamp = 0;
        int32_t first = 0, count = 0;
    };
    uint32_t stamp = 0;          // marks the entries of occ that belong to seq
    std::vector<Occ> occ;        // per CR word
    std::vector<int32_t> pos;    // positions grouped by word
    std::vector<int32_t> found;  // scratch of the indexing pass: word, position, ...
};

// The word index of st.actSeq for st.templateWords, with its kept placements reset when the
// working parameters changed. The last two sequences stay indexed, so that a read ranked on
// both strands, and then again on the strand chosen, is indexed once per strand.
ReadWords& ReadWordsOf(State& st);

}  // namespace varigap

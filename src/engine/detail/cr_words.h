// Inside the engine: the words of every conserved region of the template table, indexed once
// per template table and word length, and where they occur in the analysed sequence, indexed
// once per sequence, so that one pass over a read serves every CR of every template.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/state.h"
#include "engine/detail/word_sets.h"

namespace varigap {

// --- the template table's words ---

// The CRs of a template table cut into words of one length. Built from the state's table,
// then only read: copies of the state share it.
struct TemplateWords {
    int wordLength = 1;
    struct CR {
        std::string bases;
        std::string upper;           // bases in upper case
        std::string masks;           // per base: the bases it stands for (one bit each), "" when one stands for none
        std::vector<int32_t> words;  // per word (from CR position 1 on): its number among the CR words
        // A CR much like an earlier one, its root, shares most words with it: word i of this CR
        // is word i - shift of the root, except the words listed in `own` (increasing), which
        // are looked up on their own. A root is its own root, with shift 0 and no own words.
        int32_t root = -1, shift = 0;
        bool shared = false;  // a root with other CRs, or one of them
        std::vector<int32_t> own;
        std::vector<uint8_t> isOwn;  // per word, empty for a root
    };
    std::vector<CR> crs;                     // distinct CRs (bases compared exactly)
    std::vector<std::vector<int32_t>> crOf;  // crOf[t][c]: the distinct CR of CR c of template t
    // crOrder[t]: template t's CR numbers in the order the ranking places them, longest first,
    // equal lengths in number order.
    std::vector<std::vector<int32_t>> crOrder;
    // sameAs[t]: the first template with exactly t's CRs, in the same order, when it comes
    // before t; -1 otherwise.
    std::vector<int32_t> sameAs;
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
    bool Holds(const Session& session, int t) const;
    bool fixedTable = false;  // indexed from a table that does not change (State::templatesFixed)
    bool anyShared = false;   // some CRs share their words (CR::shared)
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
    std::string masks;                             // as TemplateWords::CR::masks, for seq
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
    std::vector<int32_t> pos;    // positions grouped by word, and one entry more
    std::vector<int32_t> found;  // scratch of the indexing pass: word, position, ...
};

// The word index of st.actSeq for st.templateWords, with its kept placements reset when the
// working parameters changed. The last two sequences stay indexed, so that a read ranked on
// both strands, and then again on the strand chosen, is indexed once per strand.
ReadWords& ReadWordsOf(State& st);

}  // namespace varigap

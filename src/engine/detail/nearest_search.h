// Inside the engine: the listed variants nearest to a region's bases, by edit distance.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/detail/vr_files.h"
#include "engine/nearest.h"

namespace varigap {

// A variable region file's entries by length: the length difference of a variant and a region
// bounds their edit distance from below, so only variants of nearly the region's length are
// aligned.
struct NearestIndex {
    std::shared_ptr<const VRFileContents> entries;  // kept alive while the index is
    std::vector<uint32_t> byLength;                 // entry numbers, by length, then file order
    std::vector<uint32_t> lengths;                  // their lengths, in that order (ranks)
    // The words of kWord bases of each entry of plain bases: each edit spoils at most kWord of
    // a variant's words, so a variant within k differences of a region shares all but k * kWord
    // of its words with it, and most variants of a large file need no alignment at all.
    static constexpr int kWord = 7;
    std::vector<uint32_t> wordStart;                      // per word code: where its postings begin
    std::vector<std::pair<uint32_t, uint32_t>> postings;  // (rank, times the word occurs in it), by rank
    std::vector<char> plain;                              // per rank: all its words are indexed
};
NearestIndex MakeNearestIndex(std::shared_ptr<const VRFileContents> entries);

// The entries of `index` nearest to a region of a read, within `bounds`. `widened` holds the
// region with `lead` bases of the read before it and `trail` after it (at most bounds.slack
// each): a variant's ends may lie up to bounds.slack bases beside the region's ends at no cost.
// IUPAC codes of either side match every base they stand for. Case-blind; the empty variant is
// never near, and so is entry `exclude` (for leave-one-out). Time: one bit-parallel alignment
// (edlib) per entry of about the region's length.
NearestHit FindNearest(const NearestIndex& index, const std::string& widened, int lead, int trail,
                       const NearestBounds& bounds, long exclude = -1);

// The name that all the "; "-separated taxa of `taxa` share: their genus (first word) when all
// have the same one, else "".
std::string SharedName(const std::vector<std::string>& taxa);

}  // namespace varigap

namespace varigap {

struct ReadResult;
struct State;

// Names, in the result of an analysis, each variable region that lies alone between two placed
// conserved regions and whose bases no listed variant equals, by its nearest variants: its
// lines between the two CRs become one line flagged '~'. A region identified exactly but
// followed by bases before the next CR is not identified exactly: '~' when near variants are
// found, else '?'. Marks every such region Exact, Nearest or None.
void IdentifyNearest(State& st, ReadResult& res, const NearestBounds& bounds, NearestMemo& memo);

}  // namespace varigap

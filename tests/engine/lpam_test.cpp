// LPAM: where a conserved region is placed, when it is not, and when it is ambiguous.
#include "engine/detail/lpam.h"

#include <gtest/gtest.h>

#include <string>

#include "core/limits.h"
#include "engine/test_sequences.h"
#include "support/test_state.h"

namespace varigap {
namespace {

using test::RandomBases;
using test::WithMismatches;

struct Params {
    int mlv = 2, wl = 6, stdPct = 75, minPct = 10, minCR = 0;
};

// "numMatches start..end" as LPAMAlign answers, then " | " and each message shown, " | full"
// when the vote table ran full.
std::string Align(const Params& p, const std::string& cr, const std::string& seq, int from, int to) {
    test::TestState t;
    SetLPAMParameters(t.session, p.mlv, p.wl, p.stdPct, p.minPct, p.minCR);
    Integer n, s, e;
    LPAMAlign(t.st, cr, seq, from, to > 0 ? to : int(seq.size()), n, s, e);
    std::string out = std::to_string(n) + " " + std::to_string(s) + ".." + std::to_string(e);
    for (const std::string& m : t.msgs.Texts()) out += " | " + m;
    if (t.st.voteTableFull) out += " | full";
    return out;
}

TEST(LpamAlign, PlacesRegionsAsExpected) {
    const std::string before = RandomBases(100, 1), after = RandomBases(100, 2), cr = RandomBases(40, 3);
    const std::string cr20 = RandomBases(20, 4), cr45 = RandomBases(45, 5), tail = RandomBases(40, 6);
    const std::string cr30 = RandomBases(30, 9), twice = before + cr + RandomBases(10, 7) + cr + after;
    std::string lower = cr30, masked = cr30;
    for (char& c : lower) c = static_cast<char>(c + 32);
    for (size_t i = 0; i < masked.size(); i += 6) masked[i] = 'N';  // every base matches, no word occurs
    // The region's last 35 bases at the sequence start, its last 9 (or 10) of them mismatched.
    const std::string head26 = WithMismatches(cr45.substr(10), 27, 35) + tail;
    const std::string head25 = WithMismatches(cr45.substr(10), 26, 35) + tail;
    const std::string huge = RandomBases(maxSeqLen + 1, 10), tooLong = " | Error: sequence of 32001 bases is too long.";
    // 7 A's in 15 A's: two words with ten hits each on 11 diagonals, for 10 slots; the last
    // diagonal takes over the last slot, and every diagonal left lies in the band of the best.
    const std::string lostVotes = " | full";
    const Params dflt;
    struct Case {
        const char* behaviour;
        Params params;
        std::string cr, seq;
        int from, to;
        std::string placed;
    } cases[] = {
        {"below the minimum analysed length: not found", {.minCR = 41}, cr, before + cr + after, 1, 0, "0 -1..-1"},
        {"as long as a word: found by exact search", dflt, "GATTAC", "CCCCGATTACCCCC", 1, 0, "1 5..10"},
        {"one exact occurrence", dflt, cr, before + cr + after, 1, 0, "1 101..140"},
        {"positions are sequence positions", dflt, cr, before + cr + after, 51, 190, "1 101..140"},
        {"two occurrences 50 bases apart", dflt, cr, twice, 1, 0, "2 -2..-2"},
        {"the window leaves the second out", dflt, cr, twice, 1, 150, "1 101..140"},
        {"two inserted bases: two bases longer", dflt, cr, before + cr.substr(0, 20) + "TT" + cr.substr(20) + after, 1,
         0, "1 101..142"},
        {"15 of 20 bases reach 75%", dflt, cr20, before + WithMismatches(cr20, 16, 20) + after, 1, 0, "1 101..120"},
        {"14 of 20 do not", dflt, cr20, before + WithMismatches(cr20, 15, 20) + after, 1, 0, "0 -1..-1"},
        {"10 of 45 before the start: 0.5625, 26/45 pass", dflt, cr45, head26, 1, 0, "1 1..35"},
        {"25/45 do not", dflt, cr45, head25, 1, 0, "0 -1..-1"},
        {"a window start inside the sequence keeps 0.75", dflt, cr45, RandomBases(30, 8) + head26, 31, 0, "0 -1..-1"},
        {"10 of 45 past the end alike", dflt, cr45, tail + WithMismatches(cr45.substr(0, 35), 1, 9), 1, 0, "1 41..75"},
        {"a large overhang is held at the minimum", {.minPct = 20}, cr45, cr45.substr(35) + tail, 1, 0, "1 1..10"},
        {"words are found without regard to case", dflt, cr30, "GGG" + lower + "GGG", 1, 0, "1 4..33"},
        {"ambiguity codes count as letters in words", dflt, cr30, "GGG" + masked + "GGG", 1, 0, "0 -1..-1"},
        {"a word length below one works as one", {.wl = 0}, cr20, before + cr20 + after, 1, 0, "2 -2..-2"},
        {"a piece over the longest allowed", dflt, huge.substr(100, 30), huge, 1, 0,
         "0 -1..-1" + tooLong + "  maxSeqLen = 32000."},
        {"a window of the longest allowed", {.wl = 12}, huge.substr(100, 30), huge, 1, maxSeqLen, "1 101..130"},
        {"a full vote table gives up its last slot",
         {.mlv = 10},
         "AAAAAAA",
         std::string(15, 'A'),
         1,
         0,
         "1 1..7" + lostVotes},
        {"a walk that drifts back past its own start places nothing",
         {.mlv = 3, .wl = 3},
         "AACCATAACTAC",
         "ACAGGCGACTAAAACCA",
         1,
         0,
         "0 -1..-1"},
    };
    for (const Case& c : cases) EXPECT_EQ(Align(c.params, c.cr, c.seq, c.from, c.to), c.placed) << c.behaviour;
}

}  // namespace
}  // namespace varigap

// LPAM: where a conserved region is placed, when it is not, and when it is ambiguous.
#include "engine/detail/lpam.h"

#include <gtest/gtest.h>

#include <ostream>
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

struct Placement {
    int numMatches, startPos, endPos;
    bool operator==(const Placement&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const Placement& p) {
        return o << p.numMatches << " " << p.startPos << "-" << p.endPos;
    }
};

Placement Align(test::TestState& t, const Params& p, const std::string& cr, const std::string& seq, int from = 1,
                int to = 0) {
    SetLPAMParameters(t.st, p.mlv, p.wl, p.stdPct, p.minPct, p.minCR);
    Integer n, s, e;
    LPAMAlign(t.st, cr, seq, from, to > 0 ? to : int(seq.size()), n, s, e);
    return {n, s, e};
}

TEST(LpamParameters, WorkingValuesComeFromTheSavedOnesAndReadBackAsPercentages) {
    test::TestState t;
    Integer mlv, wl, stdPct, minPct, minCR;
    auto working = [&] {
        GetLPAMParameters(t.st, mlv, wl, stdPct, minPct, minCR);
        return std::vector<int>{mlv, wl, stdPct, minPct, minCR};
    };
    InitLPAM(t.st);
    EXPECT_EQ(working(), (std::vector<int>{2, 6, 75, 10, 0}));
    EXPECT_EQ(t.st.lpam.lpamStdAcceptance, 0.75f);
    for (int pct = 0; pct <= 100; ++pct) {  // every dialog value survives the round trip
        SetLPAMParameters(t.st, 1, 2, pct, 100 - pct, 3);
        ASSERT_EQ(working(), (std::vector<int>{1, 2, pct, 100 - pct, 3}));
    }
    // A saved fraction of a percent is shown rounded, halves to the even neighbour.
    t.st.stdAcceptancePct = 62.5f;
    t.st.minAcceptancePct = 37.5f;
    InitLPAM(t.st);
    EXPECT_EQ(working(), (std::vector<int>{2, 6, 62, 38, 0}));
}

TEST(LpamAlign, PlacesRegionsAsExpected) {
    const std::string before = RandomBases(100, 1), after = RandomBases(100, 2);
    const std::string cr = RandomBases(40, 3);
    const std::string cr20 = RandomBases(20, 4);
    const std::string cr45 = RandomBases(45, 5);
    const std::string tail = RandomBases(40, 6);
    const std::string ac40(40, 'A');
    const Params dflt, minCR41{.minCR = 41}, min20{.minPct = 20}, min25{.minPct = 25};
    const std::string cr30 = RandomBases(30, 9);
    std::string lower = cr30, masked = cr30;
    for (char& c : lower) c = static_cast<char>(c + 32);
    for (size_t i = 0; i < masked.size(); i += 6) masked[i] = 'N';  // every base matches, no word occurs
    // The region's last 35 bases at the sequence start, its last 9 (or 10) of them mismatched.
    const std::string head26 = WithMismatches(cr45.substr(10), 27, 35);
    const std::string head25 = WithMismatches(cr45.substr(10), 26, 35);

    struct Case {
        const char* behaviour;
        Params params;
        std::string cr, seq;
        int from, to;
        Placement expected;
    } cases[] = {
        {"a region below the minimum analysed length is not found even where it occurs",
         minCR41,
         cr,
         before + cr + after,
         1,
         0,
         {0, -1, -1}},
        {"a region as long as a word is found by exact search", dflt, "GATTAC", "CCCCGATTACCCCC", 1, 0, {1, 5, 10}},
        {"two separate exact occurrences of a short region are ambiguous",
         dflt,
         "GATTAC",
         "CCGATTACGATTACCC",
         1,
         0,
         {2, -2, -2}},
        {"a region none of whose words occurs is not found", dflt, ac40, std::string(60, 'C'), 1, 0, {0, -1, -1}},
        {"a single exact occurrence is placed exactly", dflt, cr, before + cr + after, 1, 0, {1, 101, 140}},
        {"the window's start counts: positions are sequence positions",
         dflt,
         cr,
         before + cr + after,
         51,
         190,
         {1, 101, 140}},
        {"two occurrences 50 bases apart are ambiguous",
         dflt,
         cr,
         before + cr + RandomBases(10, 7) + cr + after,
         1,
         0,
         {2, -2, -2}},
        {"the window can leave the second occurrence out",
         dflt,
         cr,
         before + cr + RandomBases(10, 7) + cr + after,
         1,
         150,
         {1, 101, 140}},
        {"two inserted bases put the second half on a diagonal two bases away: one placement,"
         " two bases longer",
         dflt,
         cr,
         before + cr.substr(0, 20) + "TT" + cr.substr(20) + after,
         1,
         0,
         {1, 101, 142}},
        {"two deleted bases: the placement is two bases shorter",
         dflt,
         cr,
         before + cr.substr(0, 20) + cr.substr(22) + after,
         1,
         0,
         {1, 101, 138}},
        {"15 of 20 bases matching reach 75%",
         dflt,
         cr20,
         before + WithMismatches(cr20, 16, 20) + after,
         1,
         0,
         {1, 101, 120}},
        {"14 of 20 bases matching do not",
         dflt,
         cr20,
         before + WithMismatches(cr20, 15, 20) + after,
         1,
         0,
         {0, -1, -1}},
        {"10 of 45 bases before the sequence start lower the threshold to 0.5625 (26/45 pass)",
         dflt,
         cr45,
         head26 + tail,
         1,
         0,
         {1, 1, 35}},
        {"25/45 do not pass 0.5625", dflt, cr45, head25 + tail, 1, 0, {0, -1, -1}},
        {"at a window start inside the sequence the threshold stays 0.75",
         dflt,
         cr45,
         RandomBases(30, 8) + head26 + tail,
         31,
         0,
         {0, -1, -1}},
        {"10 of 45 bases past the sequence end lower the threshold alike",
         dflt,
         cr45,
         tail + WithMismatches(cr45.substr(0, 35), 1, 9),
         1,
         0,
         {1, 41, 75}},
        {"a large overhang is held at the minimum acceptance (10/45 pass 20%)",
         min20,
         cr45,
         cr45.substr(35) + tail,
         1,
         0,
         {1, 1, 10}},
        {"... and fail 25%, although the overhang alone would allow 9.4%",
         min25,
         cr45,
         cr45.substr(35) + tail,
         1,
         0,
         {0, -1, -1}},
        {"words are found without regard to case", dflt, cr30, "GGG" + lower + "GGG", 1, 0, {1, 4, 33}},
        {"ambiguity codes count as letters in words", dflt, cr30, "GGG" + masked + "GGG", 1, 0, {0, -1, -1}},
        {"a word length below one works as one: single bases vote everywhere",
         {.wl = 0},
         cr20,
         before + cr20 + after,
         1,
         0,
         {2, -2, -2}},
        {"... as with words of one base", {.wl = 1}, cr20, before + cr20 + after, 1, 0, {2, -2, -2}},
        {"a walk that drifts back past its own start places nothing",
         {.mlv = 3, .wl = 3},
         "AACCATAACTAC",
         "ACAGGCGACTAAAACCA",
         1,
         0,
         {0, -1, -1}},
    };
    for (const Case& c : cases) {
        test::TestState t;
        Placement got = Align(t, c.params, c.cr, c.seq, c.from, c.to);
        EXPECT_EQ(got, c.expected) << c.behaviour;
        EXPECT_TRUE(t.msgs.shown.empty()) << c.behaviour;
    }
}

TEST(LpamAlign, OnlyTheFirstTenOccurrencesOfAWordVoteATenthEach) {
    test::TestState t;
    std::string seq;
    for (int i = 0; i < 11; ++i) seq += "TTGACAGGG";  // TTGACA at 1, 10, .., 91; TGACAC nowhere
    Align(t, Params{}, "TTGACAC", seq);
    for (int k = 1; k <= 10; ++k) {
        const int d = 1 + 9 * (k - 1);
        EXPECT_EQ(int(LPAMWordHit(t.st, 1, k)), d);
        EXPECT_EQ(LPAMDiagonalScore(t.st, d), 0.1f);
    }
    EXPECT_EQ(int(LPAMWordHit(t.st, 1, 11)), NODIAGONAL);
    EXPECT_EQ(LPAMDiagonalScore(t.st, 91), 0.0f);  // the eleventh occurrence
    EXPECT_EQ(int(LPAMWordHit(t.st, 2, 1)), NODIAGONAL);
}

TEST(LpamAlign, APieceOverTheLongestAllowedIsReportedAndNotSearched) {
    test::TestState t;
    const std::string seq = RandomBases(maxSeqLen + 1, 10);
    EXPECT_EQ(Align(t, Params{}, seq.substr(100, 30), seq), (Placement{0, POSNOTFOUND, POSNOTFOUND}));
    ASSERT_EQ(t.msgs.shown.size(), 1u);
    EXPECT_EQ(t.msgs.shown[0].text, "Error: sequence of 32001 bases is too long.  maxSeqLen = 32000.");
    EXPECT_EQ(t.msgs.shown[0].title, "Varigap");
    // The same region in a window of the longest allowed piece is found.
    t.msgs.Clear();
    EXPECT_EQ(Align(t, Params{}, seq.substr(100, 30), seq, 1, maxSeqLen), (Placement{1, 101, 130}));
    for (const auto& m : t.msgs.shown) EXPECT_EQ(m.text.find("Error: sequence"), std::string::npos);
}

TEST(LpamAlign, AFullVoteTableGivesUpItsLastSlotAndReportsIt) {
    // 7 A's in 15 A's: two words with ten hits each on 11 diagonals, for 10 slots. Diagonal 0
    // arrives last and takes the slot of diagonal 10, with the score it found there.
    test::TestState t;
    const Placement p = Align(t, {.mlv = 10}, "AAAAAAA", std::string(15, 'A'));
    ASSERT_EQ(t.msgs.shown.size(), 1u);
    EXPECT_EQ(t.msgs.shown[0].title, "Varigap Logic Error");
    EXPECT_EQ(LPAMDiagonalScore(t.st, 10), 0.0f);
    EXPECT_EQ(LPAMDiagonalScore(t.st, 0), 0.2f);
    // Every diagonal left lies within the band of the best one (0): one placement.
    EXPECT_EQ(p.numMatches, 1);
    EXPECT_EQ(p.startPos, 1);
}

}  // namespace
}  // namespace varigap

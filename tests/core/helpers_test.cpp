// Nucleotide codes, reverse complement and base cleaning, with their edge cases. The string
// helpers (SubStr, StripLeading, MakeAlnumName, LeadingNumber) are asserted where users meet
// them: file names, settings lines, sequence and template names.
#include <gtest/gtest.h>

#include <random>

#include "core/bases.h"
#include "core/complement.h"
#include "core/limits.h"
#include "core/strings.h"
#include "support/test_state.h"

namespace varigap {
namespace {

TEST(NucleotideCodes, BasesMatchFollowsTheIupacTableWhichChecksItselfAtStartUp) {
    test::TestState t;
    InitializeBaseCodes(t.st);
    InitializeComplement(t.st);
    EXPECT_TRUE(t.msgs.shown.empty());
    struct {
        char a, b;
        bool match;
    } cases[] = {{'a', 'A', true}, {'R', 'g', true},  {'N', '-', true},  {'u', 'T', true},  {'B', 'S', true},
                 {'-', '-', true}, {'R', 'Y', false}, {'A', '-', false}, {'X', 'A', false}, {'X', 'x', true},
                 {'n', 'n', true}, {'K', 'M', false}, {'W', 'a', true},  {'U', 'A', false}};
    for (auto c : cases) EXPECT_TRUE(BasesMatch(c.a, c.b) == c.match && BasesMatch(c.b, c.a) == c.match) << c.a << c.b;
}

TEST(NucleotideCodes, SearchesPreferAnExactOccurrenceAndFindASecondOneApart) {
    struct {
        const char *pattern, *text;
        int from, found;
    } cases[] = {{"AC", "NCAC", 1, 3},  // exact wins over the earlier N match
                 {"AG", "NCRT", 1, 0}, {"AG", "CART", 1, 2}, {"acg", "TTACGT", 1, 3}, {"ACG", "ACGACG", 2, 4},
                 {"", "ACG", 2, 2},    {"", "ACG", 4, 0},    {"ACGT", "ACG", 1, 0},   {"GN", "ACGT", 1, 3}};
    for (auto c : cases) EXPECT_EQ(InStrBases(c.pattern, c.text, c.from), c.found) << c.pattern << " " << c.text;
    struct {
        const char* pattern;
        int to, n, first, last;
    } unique[] = {{"AA", 4, 2, POSAMBIGUOUS, POSAMBIGUOUS}, {"AA", 3, 1, 1, 2}, {"GG", 4, 0, POSNOTFOUND, POSNOTFOUND}};
    for (auto c : unique) {
        Integer n, first, last;
        FindUniqueMatch(c.pattern, "AAAA", 1, c.to, n, first, last);
        EXPECT_EQ((std::vector<int>{n, first, last}), (std::vector<int>{c.n, c.first, c.last})) << c.pattern << c.to;
    }
}

TEST(NucleotideCodes, CleaningKeepsOnlyTheAlphabetAndCommentsDoNotNest) {
    std::string s = "acgu RYKM 123 ... ac-gt 12x";
    StripNonBases(s);
    EXPECT_EQ(s, "acguRYKMacgt");
    struct {
        const char *in, *out;
        bool message;
    } cases[] = {{"ac[x]gt[y]a", "acgta", false},
                 {"ac[gt", "ac[gt", true},
                 {"[a [b] c]", " c]", false},
                 {"[]", "", false},
                 {"a[b]c[d", "ac[d", true}};
    for (auto c : cases) {
        test::TestState t;
        s = c.in;
        RemoveComments(t.st, s);
        EXPECT_EQ(s, c.out) << c.in;
        EXPECT_EQ(t.msgs.Texts(), std::vector<std::string>(c.message, "Error: [ without matching ] on the same line."));
    }
}

TEST(Complement, ReversesAndComplementsEachCharacterAndTwiceGivesAnyStringBack) {
    for (auto [in, out] : {std::pair{"AACG", "CGTT"},
                           {"acgt", "acgt"},
                           {"AAcc", "ggTT"},
                           {"RYKM", "KMRY"},
                           {"ACGU", "UCGT"},
                           {"BDHVSWNbdhvswn", "nwsbdhvNWSBDHV"},
                           {"", ""}})
        EXPECT_EQ(ReverseComplement(in), out);
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        std::string s(static_cast<size_t>(rng() % 50), ' ');
        for (char& c : s) c = static_cast<char>(rng() % 256);
        EXPECT_EQ(ReverseComplement(ReverseComplement(s)), s);
    }
}

TEST(Letters, UpperCaseTouchesOnlyTheLettersAToZWhereverTheyStand) {
    // Every byte value, at every place in an eight-byte step and in the tail after it.
    for (size_t at = 0; at < 11; ++at)
        for (int b = 0; b < 256; ++b) {
            std::string s(11, 'q');
            s[at] = static_cast<char>(b);
            const std::string up = ToUpper(s);
            for (size_t i = 0; i < s.size(); ++i) ASSERT_EQ(up[i], UpperChar(s[i])) << "byte " << b << " at " << at;
        }
}

}  // namespace
}  // namespace varigap

// Nucleotide codes: IUPAC matching, the exact-first search, unique matches, cleaning, comments.
#include "core/bases.h"

#include <gtest/gtest.h>

#include "core/limits.h"
#include "support/test_state.h"

namespace varigap {
namespace {

TEST(NucleotideCodes, BasesMatchFollowsTheIupacTable) {
    struct Case { char a, b; bool match; } cases[] = {
        {'a', 'A', true}, {'R', 'g', true}, {'N', '-', true}, {'u', 'T', true}, {'B', 'S', true},
        {'-', '-', true}, {'R', 'Y', false}, {'A', '-', false}, {'X', 'A', false}, {'X', 'x', true},
        {'n', 'n', true}, {'K', 'M', false}, {'W', 'a', true}, {'U', 'A', false},
    };
    for (auto c : cases) {
        EXPECT_EQ(BasesMatch(c.a, c.b), c.match) << c.a << " " << c.b;
        EXPECT_EQ(BasesMatch(c.b, c.a), c.match) << c.b << " " << c.a;
    }
}

TEST(NucleotideCodes, InStrBasesPrefersAnExactOccurrence) {
    EXPECT_EQ(InStrBases("AC", "NCAC", 1), 3);   // exact wins over the earlier N match
    EXPECT_EQ(InStrBases("AG", "NCRT", 1), 0);
    EXPECT_EQ(InStrBases("AG", "CART", 1), 2);   // R stands for A or G
    EXPECT_EQ(InStrBases("acg", "TTACGT", 1), 3);  // case is ignored
    EXPECT_EQ(InStrBases("ACG", "ACGACG", 2), 4);
    EXPECT_EQ(InStrBases("", "ACG", 2), 2);      // an empty pattern is found at start
    EXPECT_EQ(InStrBases("", "ACG", 4), 0);
    EXPECT_EQ(InStrBases("ACGT", "ACG", 1), 0);  // does not fit
    EXPECT_EQ(InStrBases("GN", "ACGT", 1), 3);   // only through the code N
}

TEST(NucleotideCodes, FindUniqueMatchSearchesASecondNonOverlappingOccurrence) {
    Integer n, first, last;
    FindUniqueMatch("AA", "AAAA", 1, 4, n, first, last);
    EXPECT_EQ(int(n), 2);
    EXPECT_EQ(int(first), POSAMBIGUOUS);
    EXPECT_EQ(int(last), POSAMBIGUOUS);
    FindUniqueMatch("AA", "AAAA", 1, 3, n, first, last);
    EXPECT_EQ(int(n), 1);
    EXPECT_EQ(int(first), 1);
    EXPECT_EQ(int(last), 2);
    FindUniqueMatch("GG", "AAAA", 1, 4, n, first, last);
    EXPECT_EQ(int(n), 0);
    EXPECT_EQ(int(first), POSNOTFOUND);
    EXPECT_EQ(int(last), POSNOTFOUND);
}

TEST(NucleotideCodes, StripNonBasesKeepsOnlyTheAlphabet) {
    std::string s = "ac-gt 12x";
    StripNonBases(s);
    EXPECT_EQ(s, "acgt");
    s = "acgu RYKM 123 ...";
    StripNonBases(s);
    EXPECT_EQ(s, "acguRYKM");
}

TEST(NucleotideCodes, RemoveCommentsDoesNotNestAndReportsAnOpenBracket) {
    test::TestState t;
    struct Case { const char* in; const char* out; bool message; } cases[] = {
        {"ac[x]gt[y]a", "acgta", false}, {"ac[gt", "ac[gt", true}, {"[a [b] c]", " c]", false},
        {"x", "x", false}, {"[]", "", false}, {"a[b]c[d", "ac[d", true},
    };
    for (auto c : cases) {
        t.msgs.Clear();
        std::string s = c.in;
        RemoveComments(t.st, s);
        EXPECT_EQ(s, c.out) << c.in;
        ASSERT_EQ(t.msgs.shown.size(), c.message ? 1u : 0u) << c.in;
        if (c.message) {
            EXPECT_EQ(t.msgs.shown[0].text, "Error: [ without matching ] on the same line.");
            EXPECT_EQ(t.msgs.shown[0].title, "Varigap");
        }
    }
}

TEST(NucleotideCodes, TheCodeTableChecksPassAtStartUp) {
    test::TestState t;
    InitializeBaseCodes(t.st);
    EXPECT_TRUE(t.msgs.shown.empty());
    EXPECT_TRUE(BaseCode('N').hasA && BaseCode('N').hasT);
    EXPECT_FALSE(BaseCode('X').hasA || BaseCode('X').hasC || BaseCode('X').hasG || BaseCode('X').hasT);
}

}  // namespace
}  // namespace varigap

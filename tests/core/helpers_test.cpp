// Nucleotide codes, reverse complement and string helpers, with their edge cases.
#include <gtest/gtest.h>

#include <random>

#include "core/bases.h"
#include "core/complement.h"
#include "core/limits.h"
#include "core/strings.h"
#include "support/test_state.h"

namespace varigap {
namespace {

TEST(NucleotideCodes, TheCodeTablesCheckThemselvesAtStartUp) {
    test::TestState t;
    InitializeBaseCodes(t.st);
    InitializeComplement(t.st);
    EXPECT_TRUE(t.msgs.shown.empty());
    EXPECT_TRUE(BaseCode('N').hasA && BaseCode('N').hasT);
    EXPECT_FALSE(BaseCode('X').hasA || BaseCode('X').hasC || BaseCode('X').hasG || BaseCode('X').hasT);
}

TEST(NucleotideCodes, BasesMatchFollowsTheIupacTable) {
    struct Case {
        char a, b;
        bool match;
    } cases[] = {
        {'a', 'A', true}, {'R', 'g', true},  {'N', '-', true},  {'u', 'T', true},  {'B', 'S', true},
        {'-', '-', true}, {'R', 'Y', false}, {'A', '-', false}, {'X', 'A', false}, {'X', 'x', true},
        {'n', 'n', true}, {'K', 'M', false}, {'W', 'a', true},  {'U', 'A', false},
    };
    for (auto c : cases) {
        EXPECT_EQ(BasesMatch(c.a, c.b), c.match) << c.a << " " << c.b;
        EXPECT_EQ(BasesMatch(c.b, c.a), c.match) << c.b << " " << c.a;
    }
}

TEST(NucleotideCodes, InStrBasesPrefersAnExactOccurrence) {
    EXPECT_EQ(InStrBases("AC", "NCAC", 1), 3);  // exact wins over the earlier N match
    EXPECT_EQ(InStrBases("AG", "NCRT", 1), 0);
    EXPECT_EQ(InStrBases("AG", "CART", 1), 2);     // R stands for A or G
    EXPECT_EQ(InStrBases("acg", "TTACGT", 1), 3);  // case is ignored
    EXPECT_EQ(InStrBases("ACG", "ACGACG", 2), 4);
    EXPECT_EQ(InStrBases("", "ACG", 2), 2);  // an empty pattern is found at start
    EXPECT_EQ(InStrBases("", "ACG", 4), 0);
    EXPECT_EQ(InStrBases("ACGT", "ACG", 1), 0);  // does not fit
    EXPECT_EQ(InStrBases("GN", "ACGT", 1), 3);   // only through the code N
}

TEST(NucleotideCodes, FindUniqueMatchSearchesASecondNonOverlappingOccurrence) {
    struct Case {
        const char* pattern;
        int to, n, first, last;
    } cases[] = {{"AA", 4, 2, POSAMBIGUOUS, POSAMBIGUOUS}, {"AA", 3, 1, 1, 2}, {"GG", 4, 0, POSNOTFOUND, POSNOTFOUND}};
    for (auto c : cases) {
        Integer n, first, last;
        FindUniqueMatch(c.pattern, "AAAA", 1, c.to, n, first, last);
        EXPECT_EQ((std::vector<int>{n, first, last}), (std::vector<int>{c.n, c.first, c.last})) << c.pattern << c.to;
    }
}

TEST(NucleotideCodes, CleaningKeepsOnlyTheAlphabetAndCommentsDoNotNest) {
    for (auto [in, out] : {std::pair{"ac-gt 12x", "acgt"}, {"acgu RYKM 123 ...", "acguRYKM"}}) {
        std::string s = in;
        StripNonBases(s);
        EXPECT_EQ(s, out);
    }
    test::TestState t;
    struct Case {
        const char* in;
        const char* out;
        bool message;
    } cases[] = {
        {"ac[x]gt[y]a", "acgta", false},
        {"ac[gt", "ac[gt", true},
        {"[a [b] c]", " c]", false},
        {"x", "x", false},
        {"[]", "", false},
        {"a[b]c[d", "ac[d", true},
    };
    for (auto c : cases) {
        t.msgs.Clear();
        std::string s = c.in;
        RemoveComments(t.st, s);
        EXPECT_EQ(s, c.out) << c.in;
        ASSERT_EQ(t.msgs.shown.size(), c.message ? 1u : 0u) << c.in;
        if (c.message) {
            EXPECT_EQ(t.msgs.shown[0].title + ": " + t.msgs.shown[0].text,
                      "Varigap: Error: [ without matching ] on the same line.");
        }
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

TEST(StringHelpers, SubStrClampsToTheStringAndNeverFails) {
    EXPECT_EQ(SubStr("abcdef", 0, 3), "abc");
    EXPECT_EQ(SubStr("abcdef", 4, 99), "def");
    EXPECT_EQ(SubStr("abcdef", 5, 2), "");
    EXPECT_EQ(SubStr("abcdef", 7, 9), "");
    EXPECT_EQ(SubStr("abcdef", -5, 0), "");
    EXPECT_EQ(SubStr("", 1, 1), "");
    EXPECT_EQ(CharAt("abc", 0) + CharAt("abc", 4) + CharAt("abc", 2), "b");
}

TEST(StringHelpers, StripLeadingTouchesOnlyTheFront) {
    struct Case {
        const char* in;
        const char* chars;
        const char* out;
    } cases[] = {
        {">>  name", ">", "name"},           {"a>b", ">", "a>b"}, {" \t x ", "", "x "},
        {"  61 acgt", "0123456789", "acgt"}, {"", ">", ""},       {">>>", ">", ""},
    };
    for (auto c : cases) {
        std::string s = c.in;
        StripLeading(s, c.chars);
        EXPECT_EQ(s, c.out) << c.in;
    }
}

TEST(StringHelpers, MakeAlnumNameKeepsLettersAndDigitsFromTheFirstLetter) {
    EXPECT_EQ(MakeAlnumName(" 12 Poa annua (clone 3)", 8, ".txt"), "Poaannua.txt");
    EXPECT_EQ(MakeAlnumName("12 Festuca-rub_ra x", 8, ".txt"), "Festucar.txt");
    EXPECT_EQ(MakeAlnumName("12345", 8, ".txt"), ".txt");
    EXPECT_EQ(MakeAlnumName(" \t ", 8, ".txt"), "");
    EXPECT_EQ(MakeAlnumName("", 8, ".txt"), "");
    EXPECT_EQ(MakeAlnumName("Zea mays 2", 20, ""), "Zeamays2");
}

TEST(StringHelpers, LeadingNumberReadsTheNumberATextBeginsWith) {
    struct Case {
        const char* text;
        double value;
        bool ok;
    } cases[] = {
        {" 80.5", 80.5, true}, {"1 2 3", 123, true} /* blanks anywhere are ignored */,
        {"-7xyz", -7, true},   {"&H10", 16, true},
        {"&o17", 15, true},    {"&HFFFF", -1, true},
        {"1e2", 100, true},    {".5", 0.5, true},
        {"abc", 0, false},     {"", 0, false},
    };
    for (auto c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(LeadingNumber(c.text, &ok), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}

}  // namespace
}  // namespace varigap

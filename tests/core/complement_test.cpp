// Reverse complement keeps case per character and leaves U without a partner.
#include "core/complement.h"

#include <gtest/gtest.h>

#include <random>

#include "support/test_state.h"

namespace varigap {
namespace {

TEST(Complement, ReversesAndComplementsEachCharacter) {
    test::TestState t;
    InitializeComplement(t.st);
    EXPECT_TRUE(t.msgs.shown.empty());
    EXPECT_EQ(ReverseComplement("AACG"), "CGTT");
    EXPECT_EQ(ReverseComplement("acgt"), "acgt");
    EXPECT_EQ(ReverseComplement("AAcc"), "ggTT");
    EXPECT_EQ(ReverseComplement("RYKM"), "KMRY");
    EXPECT_EQ(ReverseComplement("ACGU"), "UCGT");
    EXPECT_EQ(ReverseComplement("BDHVSWNbdhvswn"), "nwsbdhvNWSBDHV");
    EXPECT_EQ(ReverseComplement(""), "");
}

TEST(Complement, TwiceGivesBackAnyString) {
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        std::string s(static_cast<size_t>(rng() % 50), ' ');
        for (char& c : s) c = static_cast<char>(rng() % 256);
        EXPECT_EQ(ReverseComplement(ReverseComplement(s)), s);
    }
}

}  // namespace
}  // namespace varigap

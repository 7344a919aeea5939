// Conserved-region consensus: the majority of each column, ambiguity codes, the common length.
#include "builder/consensus.h"

#include <gtest/gtest.h>

namespace varigap::builder {
namespace {

TEST(Consensus, EachColumnTakesItsMajorityOrTheCodeOfEveryBaseWithEnoughShare) {
    struct Case {
        std::vector<std::string> records;
        double min;
        std::string bases;
        int used, ambiguous;
    } cases[] = {
        {{"ACGT", "ACGT", "ACGA", "ACGT"}, 0.25, "acgw", 4, 1},          // a quarter is enough
        {{"ACGT", "ACGT", "ACGA", "ACGT", "ACGT"}, 0.25, "acgt", 5, 0},  // a fifth is not
        {{"ACGT", "ACGT", "ACGA", "ACGT"}, 0.3, "acgt", 4, 0},
        {{"ACG", "ACGTT", "ACGT", "ACCT"}, 0.25, "acst", 2, 1},  // only the most common length counts
        {{"AAA", "CC", "GGG", "TT"}, 0.25, "rrr", 2, 3},         // a tie of lengths: the first seen
        {{"ACGN", "ACGR", "acgr"}, 0.25, "acgr", 3, 1},          // N says nothing, R is half A half G
        {{"NA", "NC"}, 0.6, "nm", 2, 1},                         // the most frequent bases always count
        {{}, 0.25, "", 0, 0},
    };
    for (const auto& c : cases) {
        Consensus k = MakeConsensus(c.records, c.min);
        EXPECT_EQ(k.bases, c.bases) << c.records.size();
        EXPECT_EQ(k.used, c.used) << c.bases;
        EXPECT_EQ(k.ambiguous, c.ambiguous) << c.bases;
    }
}

}  // namespace
}  // namespace varigap::builder

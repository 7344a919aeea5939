// Tables made at the first write: what a table without storage reads, and copies that own theirs.
#include <gtest/gtest.h>

#include <string>

#include "core/types.h"

namespace varigap {
namespace {

TEST(Table, ReadsDefaultsUntilWrittenKeepsItsBoundsAndCopiesOwnTheirEntries) {
    Table<Table<std::string, 3>, 2> t;
    const auto& read = t;
    EXPECT_EQ(read[2][3], "");
    EXPECT_FALSE(t.Allocated());  // reading made nothing
    EXPECT_THROW(read[3], RunTimeError);
    EXPECT_THROW(read[1][-1], RunTimeError);
    t[1][2] = "trnF";
    Table<Table<std::string, 3>, 2> copy = t;
    copy[1][2] = "trnL";
    EXPECT_EQ(t[1][2] + " " + copy[1][2], "trnF trnL");
    EXPECT_FALSE(read[2].Allocated());  // only the inner table written to has storage
}

}  // namespace
}  // namespace varigap

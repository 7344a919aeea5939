// The variant list filters entries by cleaned length and cuts long ones into 100-character lines.
#include "output/variant_listing.h"

#include <gtest/gtest.h>

namespace varigap {
namespace {

TEST(VariantListing, ModesCompareTheCleanedLength) {
    const std::string entry = "ac gt-12 a";  // 5 bases as written with blanks and digits
    struct Case { int mode; int length; bool shown; } cases[] = {
        {kSameLength, 5, true}, {kSameLength, 6, false}, {kDifferentLength, 6, true},
        {kDifferentLength, 5, false}, {kShorter, 6, true}, {kShorter, 5, false},
        {kLonger, 4, true}, {kLonger, 5, false}, {kAll, 999, true}, {0, 5, false}, {6, 5, false},
    };
    for (auto c : cases) EXPECT_EQ(IsSeqShown(entry, c.mode, c.length), c.shown) << c.mode << " " << c.length;
    EXPECT_TRUE(IsSeqShown("", kSameLength, 0));  // the empty variant
}

TEST(VariantListing, LongEntriesAreCutIntoLinesOfAHundred) {
    std::string e250(250, 'a');
    auto lines = SplitVariantText(e250);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(100, 'a') + " +");
    EXPECT_EQ(lines[1], std::string(100, 'a') + " +");
    EXPECT_EQ(lines[2], std::string(50, 'a'));
    EXPECT_EQ(SplitVariantText(std::string(100, 'c')), std::vector<std::string>{std::string(100, 'c')});
    auto two = SplitVariantText(std::string(200, 'g'));  // the second hundred is the rest, unmarked
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1], std::string(100, 'g'));
    EXPECT_EQ(SplitVariantText(""), std::vector<std::string>{""});
}

}  // namespace
}  // namespace varigap

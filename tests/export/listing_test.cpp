// The rows written for each read of a run.
#include <gtest/gtest.h>

#include "export/listing.h"

namespace varigap::exports {
namespace {

// A name's Tabs and line ends become blanks wherever they lie, in every row of the read:
// the check runs sixteen letters at a time, then letter by letter.
TEST(ExportListing, ANamesTabsAndLineEndsAreBlanksInEveryRow) {
    const struct {
        std::string name, field;
    } cases[] = {
        {"Poa\t2", "Poa 2"},
        {"Poa\tannua, a grass of lawns", "Poa annua, a grass of lawns"},                                // first sixteen
        {"Festuca rubra subsp.\tcommutata, red fescue", "Festuca rubra subsp. commutata, red fescue"},  // next
        {"0123456789abcdef\r\n", "0123456789abcdef  "},  // line ends after the last sixteen
        {"Festuca rubra subsp. commutata", "Festuca rubra subsp. commutata"},
        {std::string("a\x01z", 3), std::string("a\x01z", 3)},  // other controls stay
    };
    ListingSettings tsv;
    tsv.format = Format::Tsv;
    const SampleField sample("s1");
    for (const auto& c : cases) {
        std::string out;
        Emit(tsv, "p6\t1\tCR\np6\t2\tVR\n", '-', c.name, sample, out);
        EXPECT_EQ(out, c.field + "\tp6\t1\tCR\ts1\t-\n" + c.field + "\tp6\t2\tVR\ts1\t-\n") << c.name;
    }
}

}  // namespace
}  // namespace varigap::exports

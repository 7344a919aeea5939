// Feature locations: parts in the feature's own order, and clear reasons for what cannot be read.
#include "genbank/location.h"

#include <gtest/gtest.h>

namespace varigap::genbank {
namespace {

std::string Show(const std::vector<Part>& parts) {
    std::string s;
    for (const auto& p : parts)
        s += (s.empty() ? "" : ",") + std::to_string(p.first) + ".." + std::to_string(p.last) + (p.minus ? "-" : "+");
    return s;
}

TEST(Location, PartsComeInTheFeaturesOwnOrderOrTheReasonIsGiven) {
    struct Case {
        std::string text, parts, error;
    } cases[] = {
        {"12..20", "12..20+", ""},
        {"complement(12..20)", "12..20-", ""},
        {"join(1..5, 10..20)", "1..5+,10..20+", ""},
        {"complement(join(1..5,10..20))", "10..20-,1..5-", ""},
        {"join(complement(10..20),complement(1..5))", "10..20-,1..5-", ""},
        {"order(<1..5,30..>40)", "1..5+,30..40+", ""},
        {"7", "7..7+", ""},
        {"5^6", "", "between two bases"},
        {"join(J00194.1:10..20,30..40)", "", "another record (J00194.1)"},
        {"20..10", "", "runs backwards"},
        {"0..10", "", "positions count from 1"},
        {"join(1..5", "", "without its \")\""},
        {"gap(100)", "", "gap()"},
        {"12..20x", "", "unexpected \"x\""},
        {"99999999999", "", "too large"},
        {"", "", "empty location"},
        {std::string(200, 'c'), "", "expected a position"},
    };
    for (const auto& c : cases) {
        std::vector<Part> parts;
        std::string error;
        EXPECT_EQ(ParseLocation(c.text, parts, error), c.error.empty()) << c.text;
        EXPECT_EQ(Show(parts), c.parts) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << ": " << error;
    }
    std::string deep;
    for (int i = 0; i < 80; ++i) deep += "complement(";
    std::vector<Part> parts;
    std::string error;
    EXPECT_FALSE(ParseLocation(deep + "1..2" + std::string(80, ')'), parts, error));
    EXPECT_NE(error.find("nested too deeply"), std::string::npos) << error;
}

}  // namespace
}  // namespace varigap::genbank

// The listed variants nearest to a region: distances, IUPAC codes, the boundary slack, ties and
// the bound.
#include <gtest/gtest.h>

#include "core/strings.h"
#include "engine/detail/nearest_search.h"

namespace varigap {
namespace {

std::shared_ptr<const VRFileContents> Entries(const std::vector<std::pair<std::string, std::string>>& list) {
    auto e = std::make_shared<VRFileContents>();
    for (const auto& [bases, taxa] : list) {
        VRVariant v;
        v.bases = bases;
        v.upper = ToUpper(bases);
        v.taxa = taxa;
        e->push_back(v);
    }
    return e;
}

const std::string kLoop = "ATCCTGTTTTCTGAAAACAAGGGTTTCGAAAAAG";  // 34 bases

TEST(NearestSearch, TheFewestDifferencesWinWithinTheBound) {
    const auto entries = Entries({{kLoop, "Hygrophila polysperma"},
                                  {"atcctgttttctgaaaacaagggttt", "Lycium tenuispinosum"},
                                  {"ATCCTGTTTTCTGAAAACAAGRGTTTCGAAATAG", "Hygrophila difformis"},
                                  {"", "Deleted"}});
    const NearestIndex index = MakeNearestIndex(entries);
    // The same variants among 2,000 others of their lengths: those are not near, and the word
    // counts that spare aligning them must not lose the near ones.
    auto many = std::make_shared<VRFileContents>(*entries);
    unsigned long long x = 7;
    for (int i = 0; i < 2000; ++i) {
        VRVariant v;
        for (int b = 0; b < 26 + i % 12; ++b) v.upper += "ACGT"[(x = x * 6364136223846793005ull + 1) >> 62];
        v.bases = v.upper;
        v.taxa = "Decoy";
        many->insert(many->begin() + i % 3, v);
    }
    const NearestIndex large = MakeNearestIndex(many);
    const struct {
        const char* what;
        std::string lead, region, trail;
        int maxDiffs;
        int diffs;         // -1: none
        const char* taxa;  // of the nearest, "; " between ties
    } cases[] = {
        {"equal bases", "", kLoop, "", 4, 0, "Hygrophila polysperma"},
        {"lower case reads alike", "", "atcctgttttctgaaaacaagggtttcgaaaaag", "", 4, 0, "Hygrophila polysperma"},
        {"one substitution", "", "ATCCTGTTTTCTGAAAACTAGGGTTTCGAAAAAG", "", 4, 1, "Hygrophila polysperma"},
        {"one deletion", "", "ATCCTGTTTTCTGAAACAAGGGTTTCGAAAAAG", "", 4, 1, "Hygrophila polysperma"},
        {"two insertions", "", "ATCCTGTTTTCTGAAAAAACAAGGGTTTCGAAAAAG", "", 4, 2, "Hygrophila polysperma"},
        {"an IUPAC code of the read matches", "", "ATCCTGTTTTCTGAAAACAAGGGTTTCNAAAAAG", "", 4, 0,
         "Hygrophila polysperma"},
        {"a variant's IUPAC code matches", "", "ATCCTGTTTTCTGAAAACAAGAGTTTCGAAATAG", "", 4, 0, "Hygrophila difformis"},
        {"equally near variants all", "", "ATCCTGTTTTCTGAAAACAAGGGTTTCGAAACAG", "", 4, 1,
         "Hygrophila polysperma; Hygrophila difformis"},
        {"a conserved region placed a base too far in", "GA", kLoop.substr(1), "", 4, 0, "Hygrophila polysperma"},
        {"a conserved region placed two bases short", "", kLoop + "GA", "", 4, 0, "Hygrophila polysperma"},
        {"bases beyond the slack count", "", kLoop + "GAT", "", 4, 1, "Hygrophila polysperma"},
        {"beyond the bound", "", "ATCGTGTTATCTGAAGACAAGGCTTTCGTAAAAG", "", 4, -1, ""},
        {"a bound of 0 takes only equal bases", "", "ATCCTGTTTTCTGAAAACTAGGGTTTCGAAAAAG", "", 0, -1, ""},
        {"the empty variant is never near", "", "AC", "", 4, -1, ""},
    };
    for (const auto& c : cases) {
        NearestBounds bounds;
        bounds.maxDiffs = c.maxDiffs;
        const NearestHit hit = FindNearest(index, c.lead + c.region + c.trail, static_cast<int>(c.lead.size()),
                                           static_cast<int>(c.trail.size()), bounds);
        EXPECT_EQ(hit.diffs, c.diffs) << c.what;
        std::string taxa;
        for (const auto& t : hit.taxa) taxa += (taxa.empty() ? "" : "; ") + t;
        EXPECT_EQ(taxa, c.taxa) << c.what;
        const NearestHit among = FindNearest(large, c.lead + c.region + c.trail, static_cast<int>(c.lead.size()),
                                             static_cast<int>(c.trail.size()), bounds);
        EXPECT_EQ(among.diffs, hit.diffs) << c.what << " among many";
        EXPECT_EQ(among.taxa, hit.taxa) << c.what << " among many";
    }
}

TEST(NearestSearch, TheIdentityBoundAppliesToTheLongerOfRegionAndVariant) {
    const NearestIndex index = MakeNearestIndex(Entries({{kLoop, "Hygrophila polysperma"}}));
    NearestBounds bounds;
    bounds.minIdentity = 0.95;  // 2 differences in 34 bases: 0.941
    EXPECT_EQ(FindNearest(index, "ATCCTGTTTTCTGAAAACTAGGGTTTCGATAAAG", 0, 0, bounds).diffs, -1);
    bounds.minIdentity = 0.94;
    const NearestHit hit = FindNearest(index, "ATCCTGTTTTCTGAAAACTAGGGTTTCGATAAAG", 0, 0, bounds);
    EXPECT_EQ(hit.diffs, 2);
    EXPECT_NEAR(hit.identity, 1 - 2.0 / 34, 1e-9);
}

TEST(NearestSearch, TheSharedNameIsTheGenusWhenAllNamesHaveIt) {
    EXPECT_EQ(SharedName({"Poa annua X1.1; Poa trivialis", "Poa alpina"}), "Poa");
    EXPECT_EQ(SharedName({"Poa annua", "Festuca rubra"}), "");
    EXPECT_EQ(SharedName({"Carex"}), "Carex");
}

}  // namespace
}  // namespace varigap

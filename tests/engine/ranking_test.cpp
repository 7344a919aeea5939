// Template ranking: which template comes first, and where each template's CRs were placed.
#include "engine/detail/ranking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/detail/lpam.h"
#include "engine/test_sequences.h"
#include "engine/trnlf_data.h"
#include "support/test_state.h"

namespace varigap {
namespace {

using test::RandomBases;
using Order = std::vector<int>;

// A state with working parameters and templates entered straight into the table.
struct Ranker : test::TestState {
    Ranker() {
        InitLPAM(session);
        InitMatchTemplate(session);
    }
    int AddTemplate(const std::vector<std::string>& crs) {
        const int t = ++session.numTemplates;
        session.numCRs[t] = static_cast<int>(crs.size());
        for (size_t c = 0; c < crs.size(); ++c) session.crSeq[t][static_cast<long>(c + 1)] = crs[c];
        return t;
    }
    Order Ranking() const {
        Order order;
        for (int i = 1; i <= st.numRankedTemplates; ++i) order.push_back(st.templateRanks[i].templateNum);
        return order;
    }
    // "start..end " of each CR of template t.
    std::string Placed(int t) const {
        std::string s;
        for (int c = 1; c <= session.numCRs[t]; ++c)
            s += std::to_string(st.crStartPos[t][c]) + ".." + std::to_string(st.crEndPos[t][c]) + " ";
        return s;
    }
};

TEST(RankingOrder, CountsBeyondTheToleranceDecideElseTheMatchedFraction) {
    struct Case {
        const char* behaviour;
        std::vector<std::pair<int, int>> entries;  // matched, spanned of templates 1, 2, ..
        Order order;
    } cases[] = {
        {"100 and 103 bases count as equal: the larger fraction wins", {{100, 120}, {103, 110}}, {2, 1}},
        {"... also when it has fewer bases", {{103, 110}, {100, 100}}, {2, 1}},
        {"104 beat 100 whatever the fractions", {{100, 100}, {104, 200}}, {2, 1}},
        {"100 do not beat 104", {{104, 200}, {100, 100}}, {1, 2}},
        {"equal counts and fractions keep file order", {{50, 60}, {50, 60}, {50, 60}}, {1, 2, 3}},
        {"a template with nothing found goes below", {{0, 0}, {5, 10}, {0, 0}}, {2, 1, 3}},
        {"a new entry stops below the first it does not beat", {{10, 10}, {30, 60}, {20, 20}}, {2, 3, 1}},
    };
    for (const Case& c : cases) {
        Ranker r;
        for (size_t i = 0; i < c.entries.size(); ++i)
            AddToRanking(r.st, static_cast<int>(i + 1), c.entries[i].first, c.entries[i].second);
        EXPECT_EQ(r.Ranking(), c.order) << c.behaviour;
        EXPECT_TRUE(r.msgs.shown.empty()) << c.behaviour;
    }
}

TEST(RankTemplates, PlacesEachCRBetweenTheCRsPlacedBeforeIt) {
    const std::string a = RandomBases(40, 11), b = RandomBases(20, 12), c = RandomBases(30, 13);
    const std::string x = RandomBases(30, 14), y = RandomBases(30, 15), cr20 = RandomBases(20, 16);
    std::string filler(60, 'C');  // none of cr20's words of four bases
    for (size_t i = 0; i < filler.size(); i += 3) filler[i] = 'T';
    const std::string gap1 = RandomBases(20, 17), gap2 = RandomBases(20, 18), gap3 = RandomBases(50, 19);
    struct Case {
        const char* behaviour;
        std::vector<std::string> crs;
        std::string seq;
        int wordLength;
        std::string placed;  // each CR's start..end, then matched/spanned
    } cases[] = {
        {"cut off at the start: 5 of 20 bases count", {cr20}, cr20.substr(15) + filler, 4, "1..5 5/5"},
        {"cut off at the end: 5 of 20 count", {cr20}, filler + cr20.substr(0, 5), 4, "61..65 5/20"},
        {"an ambiguous CR leaves the window", {a, b}, x + b + x + a + y + a + y, 6, "-2..-2 31..50 60/60"},
        {"an unambiguous one narrows it", {a, b}, x + b + x + a + y, 6, "81..120 -1..-1 40/40"},
        {"no base left: not searched", {a, b, c}, x + a + c + y + b + y, 6, "31..70 -1..-1 71..100 70/90"},
        {"equal lengths: the lower number first", {x, y}, y + gap1 + x + gap2 + y, 6, "51..80 101..130 60/60"},
        {"CRs between count in full", {a, b, c}, x + a + gap3 + c + y, 6, "31..70 -1..-1 121..150 70/90"},
    };
    for (const Case& k : cases) {
        Ranker r;
        r.session.lpam.lpamWordLength = k.wordLength;
        const int t = r.AddTemplate(k.crs);
        r.st.actSeq = k.seq;
        Integer matched, spanned;
        MatchTemplate(r.st, t, matched, spanned);
        EXPECT_EQ(r.Placed(t) + std::to_string(matched) + "/" + std::to_string(spanned), k.placed) << k.behaviour;
        EXPECT_TRUE(r.msgs.shown.empty()) << k.behaviour;
    }
}

TEST(RankTemplates, AGrassTemplatePlacesExonsAndTrnFInEveryGrassRecord) {
    const auto records = test::LoadTrnLF(test::FindTrnLFDir(VARIGAP_SOURCE_DIR));
    std::vector<const test::TrnLFRecord*> grasses;
    for (const auto& rec : records)
        if (rec.family == "Poaceae") grasses.push_back(&rec);
    if (grasses.empty()) GTEST_SKIP() << "trnL-F data not found";
    const test::TrnLFRecord& model = *grasses[0];
    for (const auto* rec : grasses) {
        Ranker r;
        r.AddTemplate({model.Cut(model.exon5Start, model.exon5End), model.Cut(model.exon3Start, model.exon3End),
                       model.Cut(model.trnFStart, model.trnFEnd)});
        r.st.actSeq = rec->bases;
        EXPECT_EQ(int(RankTemplates(r.st)), 1);
        // Annotations differ by a base or two between submitters.
        EXPECT_NEAR(r.st.crStartPos[1][1], rec->exon5Start, 2) << rec->accession;
        EXPECT_NEAR(r.st.crStartPos[1][2], rec->exon3Start, 2) << rec->accession;
        EXPECT_NEAR(r.st.crStartPos[1][3], rec->trnFStart, 2) << rec->accession;
        EXPECT_TRUE(r.msgs.shown.empty()) << rec->accession;
    }
}

}  // namespace
}  // namespace varigap

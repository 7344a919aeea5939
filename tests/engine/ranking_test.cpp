// Template ranking: which template comes first, and where each template's CRs were placed.
#include "engine/detail/ranking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/limits.h"
#include "engine/detail/lpam.h"
#include "engine/test_sequences.h"
#include "engine/trnlf_data.h"
#include "support/test_state.h"

namespace varigap {
namespace {

using test::RandomBases;

// A state with working parameters and templates entered straight into the table.
struct Ranker : test::TestState {
    Ranker() {
        InitLPAM(st);
        InitMatchTemplate(st);
    }
    int AddTemplate(const std::vector<std::string>& crs) {
        const int t = ++st.numTemplates;
        st.templateName[t] = "template " + std::to_string(t);
        st.numCRs[t] = static_cast<int>(crs.size());
        for (size_t c = 0; c < crs.size(); ++c) st.crSeq[t][static_cast<long>(c + 1)] = crs[c];
        return t;
    }
    std::vector<int> Order() const {
        std::vector<int> order;
        for (int i = 1; i <= st.numRankedTemplates; ++i) order.push_back(st.templateRanks[i].templateNum);
        return order;
    }
    int Start(int t, int c) const { return st.crStartPos[t][c]; }
    int End(int t, int c) const { return st.crEndPos[t][c]; }
};

TEST(RankingOrder, CountsBeyondTheToleranceDecideElseTheMatchedFraction) {
    struct Entry {
        int matched, spanned;
    };
    struct Case {
        const char* behaviour;
        std::vector<Entry> entries;  // templates 1, 2, .. in file order
        std::vector<int> order;
    } cases[] = {
        {"100 and 103 bases count as equal: the larger fraction wins", {{100, 120}, {103, 110}}, {2, 1}},
        {"... also when it has fewer bases", {{103, 110}, {100, 100}}, {2, 1}},
        {"104 beat 100 whatever the fractions", {{100, 100}, {104, 200}}, {2, 1}},
        {"100 do not beat 104", {{104, 200}, {100, 100}}, {1, 2}},
        {"equal counts and fractions keep file order", {{50, 60}, {50, 60}, {50, 60}}, {1, 2, 3}},
        {"a template with nothing found goes below", {{0, 0}, {5, 10}, {0, 0}}, {2, 1, 3}},
        {"a new entry moves up past the entries it beats, stopping below the first it does not",
         {{10, 10}, {30, 60}, {20, 20}},
         {2, 3, 1}},
    };
    for (const Case& c : cases) {
        Ranker r;
        r.st.numRankedTemplates = 0;
        for (size_t i = 0; i < c.entries.size(); ++i)
            AddToRanking(r.st, static_cast<int>(i + 1), c.entries[i].matched, c.entries[i].spanned);
        EXPECT_EQ(r.Order(), c.order) << c.behaviour;
        EXPECT_TRUE(r.msgs.shown.empty()) << c.behaviour;
    }
}

TEST(RankingOrder, ASixtyFourthTemplateIsRefusedAndEntriesOnlyMoveUp) {
    Ranker r;
    for (int t = 1; t <= MAXNUMTEMPLATES; ++t) AddToRanking(r.st, t, t, t);
    const std::vector<int> before = r.Order();
    AddToRanking(r.st, 64, 1000, 1000);
    ASSERT_EQ(r.msgs.Texts(), std::vector<std::string>{"Error. Varigap can only handle 63templates."});
    EXPECT_EQ(r.msgs.shown[0].title, "Varigap");
    EXPECT_EQ(r.Order(), before);  // still exactly the entries it holds, best first
}

TEST(RankTemplates, WithoutTemplatesNothingIsRankedAndTooLongASequenceIsReported) {
    Ranker r;
    r.st.actSeq = RandomBases(100, 1);
    r.st.numRankedTemplates = 5;
    EXPECT_EQ(int(RankTemplates(r.st)), 0);
    EXPECT_EQ(int(r.st.numRankedTemplates), 0);
    r.AddTemplate({RandomBases(40, 31)});
    r.st.actSeq = RandomBases(40000, 32);  // beyond the integer range
    EXPECT_FALSE(Trapped(r.st, [&] { RankTemplates(r.st); }));
    EXPECT_EQ(r.msgs.Texts(), std::vector<std::string>{"Run-Time Error #6: Overflow"});
}

TEST(RankTemplates, PlacesEachCRBetweenTheCRsPlacedBeforeIt) {
    const std::string a = RandomBases(40, 11), b = RandomBases(20, 12), c = RandomBases(30, 13);
    const std::string x = RandomBases(30, 14), y = RandomBases(30, 15);
    const std::string cr20 = RandomBases(20, 16);
    std::string filler(60, 'C');  // none of cr20's words of four bases
    for (size_t i = 0; i < filler.size(); i += 3) filler[i] = 'T';

    struct Case {
        const char* behaviour;
        std::vector<std::string> crs;
        std::string seq;
        int wordLength;
        std::vector<std::pair<int, int>> positions;  // per CR
        int matched, spanned;
    } cases[] = {
        {"a CR found at the start with its last 5 of 20 bases counts 5",
         {cr20},
         cr20.substr(15) + filler,
         4,
         {{1, 5}},
         5,
         5},
        {"a CR found at the end with its first 5 of 20 bases counts 5",
         {cr20},
         filler + cr20.substr(0, 5),
         4,
         {{61, 65}},
         5,
         20},
        {"an ambiguous CR does not narrow the window of the next",
         {a, b},
         x + b + x + a + y + a + y,
         6,
         {{-2, -2}, {31, 50}},
         60,
         60},
        {"an unambiguous one does", {a, b}, x + b + x + a + y, 6, {{81, 120}, {-1, -1}}, 40, 40},
        {"a CR with no base left between its neighbours is not searched",
         {a, b, c},
         x + a + c + y + b + y,
         6,
         {{31, 70}, {-1, -1}, {71, 100}},
         70,
         90},
        {"equal lengths: the lower CR number is placed first and frames the other",
         {x, y},
         y + RandomBases(20, 17) + x + RandomBases(20, 18) + y,
         6,
         {{51, 80}, {101, 130}},
         60,
         60},
        {"CRs between the first and last found count in full, found or not",
         {a, b, c},
         x + a + RandomBases(50, 19) + c + y,
         6,
         {{31, 70}, {-1, -1}, {121, 150}},
         70,
         90},
    };
    for (const Case& k : cases) {
        Ranker r;
        r.st.lpam.lpamWordLength = k.wordLength;
        const int t = r.AddTemplate(k.crs);
        r.st.actSeq = k.seq;
        Integer matched, spanned;
        MatchTemplate(r.st, t, matched, spanned);
        for (size_t c = 0; c < k.crs.size(); ++c) {
            EXPECT_EQ(r.Start(t, int(c + 1)), k.positions[c].first) << k.behaviour << " CR " << c + 1;
            EXPECT_EQ(r.End(t, int(c + 1)), k.positions[c].second) << k.behaviour << " CR " << c + 1;
        }
        EXPECT_EQ(int(matched), k.matched) << k.behaviour;
        EXPECT_EQ(int(spanned), k.spanned) << k.behaviour;
        EXPECT_TRUE(r.msgs.shown.empty()) << k.behaviour;
    }
}

TEST(RankTemplates, TheBestTemplateComesFirstAndEveryTemplateKeepsItsPositions) {
    Ranker r;
    const std::string a = RandomBases(40, 21), b = RandomBases(30, 22);
    const int none = r.AddTemplate({RandomBases(40, 23), RandomBases(30, 24)});
    const int half = r.AddTemplate({a, RandomBases(30, 25)});
    const int full = r.AddTemplate({a, b});
    r.st.actSeq = RandomBases(50, 26) + a + RandomBases(60, 27) + b + RandomBases(50, 28);
    r.st.crStartPos[none][1] = 999;  // stale positions are overwritten
    EXPECT_EQ(int(RankTemplates(r.st)), full);
    EXPECT_EQ(r.Order(), (std::vector<int>{full, half, none}));
    EXPECT_EQ(r.Start(full, 1), 51);
    EXPECT_EQ(r.Start(full, 2), 151);
    EXPECT_EQ(r.Start(half, 1), 51);
    EXPECT_EQ(r.Start(half, 2), POSNOTFOUND);
    EXPECT_EQ(r.Start(none, 1), POSNOTFOUND);
    EXPECT_EQ(r.st.templateRanks[2].fracMatched, 1.0f);  // half: 40 of 40 spanned
    EXPECT_TRUE(r.msgs.shown.empty());
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
        EXPECT_NEAR(r.Start(1, 1), rec->exon5Start, 2) << rec->accession;
        EXPECT_NEAR(r.Start(1, 2), rec->exon3Start, 2) << rec->accession;
        EXPECT_NEAR(r.Start(1, 3), rec->trnFStart, 2) << rec->accession;
        EXPECT_TRUE(r.msgs.shown.empty()) << rec->accession;
    }
}

}  // namespace
}  // namespace varigap

// The Variable Region Analysis window: the variants of a variable region file listed by
// length in its five modes, a typed length, the variant chosen in the window, and the line
// of the main window shown for comparison.
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct VRAnalysis : UiTest {
    FAnalyzeVRs& W() { return app->AnalyzeVRs(); }
    std::vector<std::string> Listed() { return W().lstSeqs.Items(); }
    // S1 analysed, a line selected, and Same Length or Different Length pressed.
    void OpenOn(int line, bool sameLength = true) {
        StartAnalyzed();
        SelectLine(line);
        (sameLength ? Main().butIndelSame : Main().butIndelDiff).UserClick();
    }
    void TypeLength(const std::string& text, bool enter = true) {
        W().txbxLength.UserType(text);
        if (enter) W().txbxLength.UserPressKey(kKeyEnter);
    }
};

using Items = std::vector<std::string>;
const std::string kLongLine1 = kLong250.substr(0, 100) + " +", kLongLine2 = kLong250.substr(100, 100) + " +";
const std::string kLongLine3 = kLong250.substr(200);
const Items kSameAsVR1 = {"AAGGTTCC", "CCCCGGGG", "CC GG CC GG 12"};  // listed as written, compared by bases

TEST_F(VRAnalysis, TheFiveModesOnAVariableLineWithOneVariant) {
    OpenOn(1);  // VR1: AAGGTTCC, Poa annua
    FAnalyzeVRs& w = W();
    EXPECT_TRUE(w.IsActive());
    EXPECT_EQ(w.lblRegionName.Caption(), "Analyzing variable region \"vr1.txt\"");
    EXPECT_TRUE(w.radSame.Value());
    EXPECT_FALSE(w.radDiff.Value() || w.radShorter.Value() || w.radLonger.Value() || w.radAll.Value());
    EXPECT_EQ(w.txbxLength.Text(), "8");
    EXPECT_EQ(w.cbxActVRSeq.Items(), Items{"AAGGTTCC"});
    EXPECT_EQ(w.cbxActVRSeq.Text(), "AAGGTTCC");
    EXPECT_EQ(w.lblActSeqLine.Caption(), "Current Line -- 8 bases: 2:{V}:AAGGTTCC");
    // Each mode: what is listed, which line is selected and the taxa shown.
    struct Case {
        OptionButton* mode;
        Items listed;
        int selected;
        std::string taxa;
    } cases[] = {
        {&w.radSame, kSameAsVR1, 0, "Poa annua"},
        {&w.radDiff, {"AAGGTT", kLongLine1, kLongLine2, kLongLine3, "ACGTTAC"}, 0, "Festuca rubra"},
        {&w.radShorter, {"AAGGTT", "ACGTTAC"}, 0, "Festuca rubra"},
        {&w.radLonger, {kLongLine1, kLongLine2, kLongLine3}, 0, "Bromus"},
        {&w.radAll,
         {"AAGGTT", "AAGGTTCC", "CCCCGGGG", "CC GG CC GG 12", kLongLine1, kLongLine2, kLongLine3, "ACGTTAC"},
         1,
         "Poa annua"},  // the found variant
    };
    for (const auto& c : cases) {
        c.mode->UserClick();
        EXPECT_EQ(Listed(), c.listed);
        EXPECT_TRUE(w.lstSeqs.HasFocus());
        EXPECT_EQ(w.lstSeqs.ListIndex(), c.selected);
        EXPECT_EQ(w.txbxSpecies.Text(), c.taxa);
    }
    w.lstSeqs.UserKeyTo(7);
    EXPECT_EQ(w.txbxSpecies.Text(), "Multiline taxa");  // pieces joined as they stand
    w.lstSeqs.UserClickItem(5);                         // every line of the 250-base entry shows its taxa
    EXPECT_EQ(w.txbxSpecies.Text(), "Bromus");

    // The main window's current line follows, while the window is hidden too.
    Main().lstSeq.UserClickItem(3);
    EXPECT_EQ(w.lblActSeqLine.Caption(), "Current Line -- 2 bases: 4?0,0?CA");
    w.UserClose();
    Main().lstSeq.UserClickItem(0);
    EXPECT_EQ(w.lblActSeqLine.Caption(), "Current Line -- 2 bases: 4?0,0?CA");  // hidden: kept for later
    EXPECT_EQ(w.ActSeqLine(), "Current Line -- 30 bases: 1:[C]:" + CR1);
    Main().lstSeq.UserClickItem(1);
    Main().butIndelSame.UserClick();
    EXPECT_EQ(w.lblActSeqLine.Caption(), "Current Line -- 8 bases: 2:{V}:AAGGTTCC");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(VRAnalysis, TypedLengths) {
    OpenOn(1);
    TypeLength("6");
    EXPECT_EQ(Listed(), Items{"AAGGTT"});
    EXPECT_EQ(W().txbxSpecies.Text(), "Festuca rubra");
    TypeLength("12", false);
    W().lstSeqs.UserFocus();  // without Enter, leaving the box drops the edit
    EXPECT_EQ(W().txbxLength.Text() + " " + Listed().at(0), "6 AAGGTT");
    W().radDiff.UserClick();
    TypeLength("12");
    EXPECT_EQ(Listed().size(), 8u);  // no entry has 12 bases
    W().radSame.UserClick();
    // Rounded, halves to even; negative and too large lengths refused; one without digits is zero.
    struct Case {
        std::string typed, shown;
        int length;
        Items listed;
    } cases[] = {{" 7.5 ", "8", 8, kSameAsVR1}, {"6.5", "6", 6, {"AAGGTT"}},   {"-3", "6", 6, {"AAGGTT"}},
                 {"99999", "6", 6, {"AAGGTT"}}, {"32767", "32767", 32767, {}}, {"abc", "abc", 0, {}}};
    for (const auto& c : cases) {
        TypeLength(c.typed);
        EXPECT_EQ(W().PLength(), c.length) << c.typed;
        EXPECT_EQ(W().txbxLength.Text(), c.shown) << c.typed;
        EXPECT_EQ(Listed(), c.listed) << c.typed;
    }
    EXPECT_EQ(W().txbxSpecies.Text(), "");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(VRAnalysis, ADeletionComparesWithLengthZeroAndAnotherCandidateCanBeChosen) {
    OpenOn(7);
    EXPECT_EQ(W().lblRegionName.Caption(), "Analyzing variable region \"vr3.txt\"");
    EXPECT_EQ(W().txbxLength.Text() + W().cbxActVRSeq.Text(), "0<Deletion>");
    EXPECT_EQ(Listed(), (Items{"", ""}));
    EXPECT_EQ(W().lstSeqs.ListIndex(), 1);  // the last empty entry
    EXPECT_EQ(W().txbxSpecies.Text(), "Second deletion");
    EXPECT_EQ(W().lblActSeqLine.Caption(), "Current Line: <No bases>");

    SelectLine(4);
    Main().butIndelDiff.UserClick();
    EXPECT_EQ(W().cbxActVRSeq.Items(), (Items{"TTTT", "TTTTTTTT"}));
    EXPECT_EQ(W().cbxActVRSeq.Text(), "TTTTTTTT");
    EXPECT_EQ(Listed(), (Items{"TTTT", "GCGC"}));
    W().cbxActVRSeq.UserSelect(0);
    EXPECT_EQ(W().txbxLength.Text(), "4");
    EXPECT_TRUE(W().radDiff.Value());
    EXPECT_EQ(Listed(), Items{"TTTTTTTT"});
    EXPECT_EQ(W().txbxSpecies.Text(), "t-b");
    EXPECT_EQ(Main().ActVRSel(), 2);  // the main window's choice is its own
}

TEST_F(VRAnalysis, LongVariableRegionFilesFillTheListUpToItsLimitAndAMissingOneIsReported) {
    std::string many;
    for (int i = 0; i < 1100; ++i) many += "ACGT>t" + std::to_string(i + 1) + "<\r\n";
    OpenOn(1);
    data.Write("vr1.txt", many);
    Main().butIndelSame.UserClick();
    W().radAll.UserClick();
    EXPECT_EQ(W().lstSeqs.ListCount(), 1023);  // the rest of the file is ignored
    W().lstSeqs.UserClickItem(1022);
    EXPECT_EQ(W().txbxSpecies.Text(), "t1023");
    EXPECT_TRUE(Texts().empty());
    std::string twoLines;
    for (int i = 0; i < 600; ++i) twoLines += kLong250.substr(0, 150) + ">t<\r\n";
    data.Write("vr1.txt", twoLines);
    Main().butIndelSame.UserClick();  // no entry of 8 bases
    EXPECT_TRUE(Listed().empty());
    W().radAll.UserClick();  // 1200 lines do not fit
    EXPECT_EQ(W().lstSeqs.ListCount(), 1023);
    std::remove(data.Path("vr1.txt").c_str());  // read to fill the variant box, and again for the list
    Main().butIndelSame.UserClick();
    const std::string notFound = "Error: Varigap Variable Region File \"" + data.Path("vr1.txt") + "\" not found.";
    EXPECT_EQ(Texts(), (Items{"Run-Time Error #9: Subscript out of range", notFound, notFound}));
    EXPECT_TRUE(Listed().empty());
}

}  // namespace
}  // namespace varigap::ui::test

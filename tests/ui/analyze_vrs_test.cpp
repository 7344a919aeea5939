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

const std::string kLongLine1 = kLong250.substr(0, 100) + " +";
const std::string kLongLine2 = kLong250.substr(100, 100) + " +";
const std::string kLongLine3 = kLong250.substr(200);
const std::vector<std::string> kSameAsVR1 = {"AAGGTTCC", "CCCCGGGG", "CC GG CC GG 12"};

TEST_F(VRAnalysis, TheFiveModesOnAVariableLineWithOneVariant) {
    OpenOn(1);  // VR1: AAGGTTCC, Poa annua
    FAnalyzeVRs& w = W();
    EXPECT_TRUE(w.IsActive());
    EXPECT_EQ(w.Caption(), "Variable Region Analysis");
    EXPECT_EQ(w.lblRegionName.Caption(), "Analyzing variable region \"vr1.txt\"");
    EXPECT_EQ(w.radSame.Caption(), "&Same Length");
    EXPECT_EQ(w.radShorter.Caption(), "S&horter");
    EXPECT_EQ(w.radAll.ToolTipText(), "Display all variable region sequences in the file.");
    EXPECT_TRUE(w.radSame.Value());
    EXPECT_FALSE(w.radDiff.Value() || w.radShorter.Value() || w.radLonger.Value() || w.radAll.Value());
    EXPECT_EQ(w.txbxLength.Text(), "8");
    EXPECT_EQ(w.cbxActVRSeq.Items(), std::vector<std::string>{"AAGGTTCC"});
    EXPECT_EQ(w.cbxActVRSeq.Text(), "AAGGTTCC");
    // An entry written with blanks and digits is listed as written, compared by its bases.
    EXPECT_EQ(Listed(), kSameAsVR1);
    EXPECT_EQ(w.lstSeqs.ListIndex(), 0);
    EXPECT_TRUE(w.lstSeqs.HasFocus());
    EXPECT_EQ(w.txbxSpecies.Text(), "Poa annua");
    EXPECT_EQ(w.lblActSeqLine.Caption(), "Current Line -- 8 bases: 2:{V}:AAGGTTCC");
    w.lstSeqs.UserClickItem(2);
    EXPECT_EQ(w.txbxSpecies.Text(), "Lolium perenne");

    w.radDiff.UserClick();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"AAGGTT", kLongLine1, kLongLine2, kLongLine3, "ACGTTAC"}));
    EXPECT_EQ(w.lstSeqs.ListIndex(), 0);  // the found variant is not listed: the first line
    EXPECT_EQ(w.txbxSpecies.Text(), "Festuca rubra");
    w.radShorter.UserClick();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"AAGGTT", "ACGTTAC"}));
    w.lstSeqs.UserKeyTo(1);
    EXPECT_EQ(w.txbxSpecies.Text(), "Multiline taxa");  // pieces joined as they stand
    w.radLonger.UserClick();
    EXPECT_EQ(Listed(), (std::vector<std::string>{kLongLine1, kLongLine2, kLongLine3}));
    for (int i = 0; i < 3; ++i) {  // every line of the 250-base entry shows its taxa
        w.lstSeqs.UserClickItem(i);
        EXPECT_EQ(w.txbxSpecies.Text(), "Bromus");
    }
    w.radAll.UserClick();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"AAGGTT", "AAGGTTCC", "CCCCGGGG", "CC GG CC GG 12", kLongLine1,
                                                  kLongLine2, kLongLine3, "ACGTTAC"}));
    EXPECT_EQ(w.lstSeqs.ListIndex(), 1);
    EXPECT_EQ(w.txbxSpecies.Text(), "Poa annua");
    w.radSame.UserClick();
    EXPECT_EQ(Listed(), kSameAsVR1);

    // Opened again on its line (how it follows the main window: tests/ui/trust_test.cpp).
    w.UserClose();
    Main().lstSeq.UserClickItem(1);
    Main().butIndelSame.UserClick();
    EXPECT_EQ(w.lblActSeqLine.Caption(), "Current Line -- 8 bases: 2:{V}:AAGGTTCC");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(VRAnalysis, TypedLengths) {
    OpenOn(1);
    TypeLength("6");
    EXPECT_EQ(Listed(), std::vector<std::string>{"AAGGTT"});
    EXPECT_EQ(W().txbxSpecies.Text(), "Festuca rubra");
    TypeLength("12", false);
    W().lstSeqs.UserFocus();  // without Enter, leaving the box drops the edit
    EXPECT_EQ(W().txbxLength.Text(), "6");
    EXPECT_EQ(Listed(), std::vector<std::string>{"AAGGTT"});
    W().radDiff.UserClick();
    TypeLength("12");
    EXPECT_EQ(Listed().size(), 8u);  // no entry has 12 bases
    W().radSame.UserClick();
    TypeLength(" 7.5 ");  // rounded, halves to even
    EXPECT_EQ(W().PLength(), 8);
    EXPECT_EQ(Listed(), kSameAsVR1);
    TypeLength("6.5");
    EXPECT_EQ(W().PLength(), 6);

    // Negative and too large lengths are refused; one without digits is zero.
    TypeLength("8");
    for (const char* refused : {"-3", "99999"}) {
        TypeLength(refused);
        EXPECT_EQ(W().txbxLength.Text(), "8");
        EXPECT_EQ(Listed(), kSameAsVR1);
    }
    TypeLength("32767");
    EXPECT_EQ(W().PLength(), 32767);
    EXPECT_TRUE(Listed().empty());
    TypeLength("abc");
    EXPECT_EQ(W().PLength(), 0);
    EXPECT_TRUE(Listed().empty());  // no entry of vr1.txt is empty
    EXPECT_EQ(W().txbxSpecies.Text(), "");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(VRAnalysis, ADeletionComparesWithLengthZero) {
    OpenOn(7);
    EXPECT_EQ(W().lblRegionName.Caption(), "Analyzing variable region \"vr3.txt\"");
    EXPECT_EQ(W().txbxLength.Text(), "0");
    EXPECT_EQ(W().cbxActVRSeq.Text(), "<Deletion>");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(W().lstSeqs.ListIndex(), 1);  // the last empty entry
    EXPECT_EQ(W().txbxSpecies.Text(), "Second deletion");
    EXPECT_EQ(W().lblActSeqLine.Caption(), "Current Line: <No bases>");
}

TEST_F(VRAnalysis, ChoosingAnotherCandidateInTheWindow) {
    OpenOn(4, false);
    EXPECT_EQ(W().cbxActVRSeq.Items(), (std::vector<std::string>{"TTTT", "TTTTTTTT"}));
    EXPECT_EQ(W().cbxActVRSeq.Text(), "TTTTTTTT");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"TTTT", "GCGC"}));
    W().cbxActVRSeq.UserSelect(0);
    EXPECT_EQ(W().txbxLength.Text(), "4");
    EXPECT_TRUE(W().radDiff.Value());
    EXPECT_EQ(Listed(), std::vector<std::string>{"TTTTTTTT"});
    EXPECT_EQ(W().txbxSpecies.Text(), "t-b");
    EXPECT_EQ(Main().ActVRSel(), 2);  // the main window's choice is its own
}

TEST_F(VRAnalysis, MissingAndLongVariableRegionFiles) {
    StartAnalyzed();
    std::remove(data.Path("vr1.txt").c_str());
    SelectLine(1);
    Main().butIndelSame.UserClick();
    // The file is read when the variant box is filled (its Click) and again for the parameters.
    const std::string notFound = "Error: Varigap Variable Region File \"" + data.Path("vr1.txt") + "\" not found.";
    EXPECT_EQ(Texts(), (std::vector<std::string>{notFound, notFound}));
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(W().txbxSpecies.Text(), "");
    msgs.Clear();

    std::string many;
    for (int i = 0; i < 1100; ++i) many += "ACGT>t" + std::to_string(i + 1) + "<\r\n";
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
    EXPECT_EQ(Texts(), std::vector<std::string>{"Run-Time Error #9: Subscript out of range"});
    EXPECT_EQ(LastMessage().title, "Varigap Run-Time Error");
    EXPECT_EQ(W().lstSeqs.ListCount(), 1023);
}

}  // namespace
}  // namespace varigap::ui::test

// The Variable Region Analysis window: the variants of a variable region file listed by
// length in its five modes, a typed length, the variant chosen in the window, the line of the
// main window shown for comparison, and files too long or gone. What the windows show after
// each step is in golden/analyze_vrs.txt.
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

TEST_F(UiTest, TheStoryOfTheVariableRegionAnalysisWindow) {
    StartAnalyzed();
    Step("S1 analysed");
    FAnalyzeVRs& w = app->AnalyzeVRs();
    auto typeLength = [&](const std::string& text, const std::string& step) {
        w.txbxLength.UserType(text);
        w.txbxLength.UserPressKey(kKeyEnter);
        Step("length \"" + text + "\" and Enter: " + step);
    };
    SelectLine(1);
    Main().butIndelSame.UserClick();
    Step("Same Length on line 2 (AAGGTTCC): entries written with blanks and digits compared by their bases");
    w.lstSeqs.UserClickItem(2);
    Step("an entry clicked: its taxa");
    for (auto [mode, name] : {std::pair{&w.radDiff, "Different Length: the found variant is not listed"},
                              {&w.radShorter, "Shorter"},
                              {&w.radLonger, "Longer: the 250-base entry in three lines"},
                              {&w.radAll, "All: the found variant selected"},
                              {&w.radSame, "Same Length again"}}) {
        mode->UserClick();
        Step(name);
    }
    w.radAll.UserClick();
    w.lstSeqs.UserKeyTo(7);
    Step("All, the last entry: taxa written over two lines, joined as they stand");
    w.lstSeqs.UserClickItem(5);
    Step("the last line of the 250-base entry: its taxa");
    w.radSame.UserClick();
    typeLength("6", "listed by that length");
    w.txbxLength.UserType("12");
    w.lstSeqs.UserFocus();
    Step("length 12 typed without Enter, then leaving the box: the edit dropped");
    w.radDiff.UserClick();
    typeLength("12", "no entry has 12 bases");
    w.radSame.UserClick();
    typeLength(" 7.5 ", "rounded, halves to even");
    typeLength("6.5", "rounded, halves to even");
    typeLength("-3", "refused");
    typeLength("99999", "refused");
    typeLength("32767", "the longest length");
    typeLength("abc", "no digits: zero");
    Main().lstSeq.UserClickItem(3);
    Step("a line of no one variable region in the main window: the window keeps its line and says so");
    w.UserClose();
    Main().lstSeq.UserClickItem(0);
    EXPECT_EQ(w.ActSeqLine(), "Current Line -- 8 bases: 2:{V}:AAGGTTCC");
    Step("the window closed, another line chosen: kept for later");
    SelectLine(7);
    Main().butIndelSame.UserClick();
    Step("Same Length on line 8, a deletion: compared with length zero");
    SelectLine(4);
    Main().butIndelDiff.UserClick();
    Step("Different Length on line 5: its two candidates");
    w.cbxActVRSeq.UserSelect(0);
    EXPECT_EQ(Main().ActVRSel(), 2);  // the main window's choice is its own
    Step("the other candidate chosen in the window");

    data.Write("nf.fasta", ">NF\r\n" + CR1 + "GTGTGTGT" + CR2 + "TTTT" + CR3 + "ACACAC" + CR4 + "\r\n");
    LoadSequenceFile("nf.fasta");
    Analyze("NF");
    SelectLine(1);
    Main().butIndelSame.UserClick();
    Step("Same Length on a variable region NOT FOUND: compared with the 8 bases of its line");
    LoadSequenceFile("s.fasta");
    Analyze("S1");

    std::string many, twoLines;
    for (int i = 0; i < 1100; ++i) many += "ACGT>t" + std::to_string(i + 1) + "<\r\n";
    for (int i = 0; i < 600; ++i) twoLines += kLong250.substr(0, 150) + ">t<\r\n";
    SelectLine(1);
    data.Write("vr1.txt", many);
    Main().butIndelSame.UserClick();
    w.radAll.UserClick();
    w.lstSeqs.UserClickItem(1022);
    EXPECT_EQ(w.lstSeqs.ListCount(), 1023);
    Step("a file of 1100 entries, All: the first 1023 listed");
    data.Write("vr1.txt", twoLines);
    Main().butIndelSame.UserClick();
    w.radAll.UserClick();
    EXPECT_EQ(w.lstSeqs.ListCount(), 1023);
    Step("600 entries of two lines, All: 1200 lines do not fit");
    std::remove(data.Path("vr1.txt").c_str());
    Main().butIndelSame.UserClick();
    Step("the file gone: read to fill the variant box, and again for the list");
    ExpectStory("analyze_vrs.txt");
}

}  // namespace
}  // namespace varigap::ui::test

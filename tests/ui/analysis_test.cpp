// The main window's analysis as the user sees it: Find Template, the lines of the analysed
// sequence and what each kind of line shows, choosing a variant and reparsing, Change
// Template, and the complement box.
#include "core/complement.h"
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

const std::vector<std::string> kS1Lines = {
    "1:[C]:" + CR1, "2:{V}:AAGGTTCC", "3:[C]:" + CR2, "4?0,0?CA",     "5?{V}?TTTTTTTT",
    "6?0,0?CA",     "7:[C]:" + CR3,   "8:{V}:",       "9:[C]:" + CR4,
};

struct Analysis : UiTest {
    // What the window shows about the selected line: its three boxes, the list's tool tip (":"
    // unambiguous, "?" not, "-" the default), "R" when Same Length, Different Length and R are
    // shown, and the variant box's items and choice when it is shown.
    std::string Shown() {
        FVarigapMainMenu& m = Main();
        const std::string& tip = m.lstSeq.ToolTipText();
        std::string s = m.lblSeqInfo.Caption() + " | " + m.lblRegionInfo.Caption() + " | " + m.txbxRegionInfo.Text() +
                        " | " +
                        (tip.starts_with("Colons")     ? ":"
                         : tip.starts_with("Question") ? "?"
                                                       : "-");
        EXPECT_TRUE(m.butIndelSame.Visible() == m.butIndelDiff.Visible() &&
                    m.butIndelSame.Visible() == m.butSelectVRPoss.Visible());
        if (m.butIndelSame.Visible()) s += " | R";
        if (m.cbxVRPoss.Visible()) {
            s += " |";
            for (const auto& item : m.cbxVRPoss.Items()) s += " " + item;
            s += " > " + m.cbxVRPoss.Text();
        }
        return s;
    }
    // No sequence analysed any more, and the lines of S1 left as they were.
    void ExpectSequenceDropped() {
        EXPECT_EQ(Main().lblActSeqName.Caption() + Main().GetActSeqName() + St().actSeq, "");
        EXPECT_EQ(Lines(), kS1Lines);
    }
    // The bases of the listed lines, joined: the analysed sequence when the lines tile it.
    std::string ListedBases() {
        std::string all;
        for (const auto& line : Lines()) {
            size_t flag = line.find_first_of(":?");
            all += line.substr(line.find(line[flag], flag + 1) + 1);
        }
        return all;
    }
};

TEST_F(Analysis, FindTemplateWithoutASequenceOrWithoutTemplates) {
    WriteAnalysisFiles();
    StartProgram();
    LoadTemplateFile("t.tpl");
    Main().butFindTemplate.UserClick();  // nothing happens
    EXPECT_EQ(Main().lblActSeqName.Caption() + Main().lblBestTemplate.Caption(), "");
    StartProgram();
    LoadSequenceFile("s.fasta");
    Main().butFindTemplate.UserClick();  // the sequence is named, nothing else
    EXPECT_EQ(Main().lblActSeqName.Caption(), "S1");
    EXPECT_TRUE(Lines().empty() && Main().cbxTemplates.Items().empty() && Texts().empty());
    EXPECT_EQ(Main().MousePointer(), kPointerDefault);
}

TEST_F(Analysis, AFullAnalysisAndWhatEachKindOfLineShows) {
    StartWithAnalysisFiles();
    std::vector<int> pointers{Main().MousePointer()};
    Main().Subscribe([&] {
        if (pointers.back() != Main().MousePointer()) pointers.push_back(Main().MousePointer());
    });
    Analyze("S1");
    EXPECT_EQ(pointers, (std::vector<int>{kPointerDefault, kPointerHourglass, kPointerDefault}));
    EXPECT_EQ(Lines(), kS1Lines);
    EXPECT_EQ(ListedBases(), S1);
    EXPECT_EQ(Main().lblActSeqName.Caption() + " / " + Main().lblBestTemplate.Caption(), "S1 / Grass T1");
    EXPECT_EQ(Main().cbxTemplates.Items(), (std::vector<std::string>{"Grass T1", "Other T2", "Tail T3"}));
    EXPECT_EQ(Main().cbxTemplates.Text(), "Grass T1");
    // The first line, conserved, is selected and has the focus, so its information is shown.
    EXPECT_EQ(Main().lstSeq.ListIndex(), 0);
    EXPECT_TRUE(Main().lstSeq.HasFocus());
    EXPECT_EQ(Shown(), "30 bases: 1 - 30 | Conserved Region: " + CR1 + " | Template: Grass T1 | :");
    // Leaving the list restores its default tool tip; scrolling it shows the line's again.
    Main().chkInverse.UserFocus();
    EXPECT_EQ(Shown().back(), '-');
    Main().lstSeq.UserScroll();
    EXPECT_EQ(Shown().back(), ':');

    SelectLine(1);  // a variable line with one variant
    EXPECT_EQ(Shown(), "8 bases: 31 - 38 | Variable Region: vr1.txt -- AAGGTTCC | Poa annua | : | R");
    SelectLine(4);  // a variable line with several candidates
    EXPECT_EQ(Shown(),
              "8 bases: 71 - 78 | Variable Region: vr2.txt -- TTTTTTTT | t-b | ? | R | TTTT TTTTTTTT > TTTTTTTT");
    SelectLine(3);  // bases outside every region ("CA" between CR2 and VR2)
    EXPECT_EQ(Shown(), "2 bases: 69 - 70 | Confused Region: 0 Conserved Regions and 0 Variable Regions. |  | ?");
    Main().lstSeq.UserKeyTo(7);  // a deletion, reached with the keys
    EXPECT_EQ(Shown(),
              "No bases | Variable Region: vr3.txt -- <Deletion> | Poa deletion | : | R | <Deletion> <Deletion> > "
              "<Deletion>");

    Analyze("S2");  // a confused stretch
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"1:[C]:" + CR1, "2?1,2?GAGAGAGATGACTGCATGCAATCGGCTAACGTGCTACGCACACACACA",
                                        "3:[C]:" + CR3, "4:{V}:ACACAC", "5:[C]:" + CR4}));
    SelectLine(1);
    EXPECT_EQ(Shown(),
              "48 bases: 31 - 78 | Confused Region: 1 Conserved Regions and 2 Variable Regions. | vr1.txt\r\n" + CR2 +
                  "\r\nvr2.txt\r\n | ?");
}

TEST_F(Analysis, AnEmptySequenceBoxOrAFileThatWentAwayDropsTheSequenceAndLeavesTheList) {
    StartAnalyzed();
    Main().cbxSequences.UserType("");
    Main().butFindTemplate.UserClick();
    ExpectSequenceDropped();
    Analyze("S1");
    std::remove(data.Path("s.fasta").c_str());
    Analyze("S2");
    EXPECT_EQ(Texts(),
              std::vector<std::string>{"Error: Varigap Sequence File \"" + data.Path("s.fasta") + "\" not found."});
    ExpectSequenceDropped();  // the bases of S1 are not analysed again under the name S2
}

TEST_F(Analysis, ChoosingAnotherVariantShowsItAndReparsingUsesIt) {
    StartAnalyzed();
    SelectLine(4);
    Main().cbxVRPoss.UserSelect(0);  // the list lost the focus: its default tool tip
    EXPECT_EQ(Shown(), "8 bases: 71 - 78 | Variable Region: vr2.txt -- TTTT | t-a | - | R | TTTT TTTTTTTT > TTTT");
    EXPECT_EQ(Main().ActVRSel(), 1);
    EXPECT_EQ(Lines(), kS1Lines);  // nothing reparsed yet
    Main().butSelectVRPoss.UserClick();
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"1:[C]:" + CR1, "2:{V}:AAGGTTCC", "3:[C]:" + CR2, "4?0,0?CA", "5?{V}?TTTT",
                                        "6?0,0?TTTTCA", "7:[C]:" + CR3, "8:{V}:", "9:[C]:" + CR4}));
    EXPECT_EQ(ListedBases(), S1);
    EXPECT_EQ(Main().lstSeq.ListIndex(), 4);
    EXPECT_TRUE(Main().lstSeq.HasFocus());
    EXPECT_EQ(Shown(), "4 bases: 71 - 74 | Variable Region: vr2.txt -- TTTT | t-a | ? | R | TTTT TTTTTTTT > TTTT");
}

TEST_F(Analysis, ChangeTemplateAndReparsingOnTheLastLineOfAListThatBecomesShorter) {
    StartAnalyzed("S3");
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Grass T1");
    ChangeTemplate("Tail T3");
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Tail T3");
    EXPECT_EQ(St().actTemplate, 3);
    // The list is filled again from the new ranking, the best template selected.
    EXPECT_EQ(Main().cbxTemplates.Text(), "Grass T1");
    EXPECT_EQ(Main().cbxTemplates.ListCount(), 3);
    ASSERT_EQ(Lines(), (std::vector<std::string>{"1:[C]:" + CR1, "2?{V}?CGAAAAAAAA"}));
    SelectLine(1);
    Main().cbxVRPoss.UserSelect(0);
    Main().butSelectVRPoss.UserClick();
    ASSERT_EQ(Lines(), (std::vector<std::string>{"1:[C]:" + CR1, "2?0,0?CG", "3?{V}?AAAA", "4?0,0?AAAA"}));
    SelectLine(2);
    Main().cbxVRPoss.UserSelect(1);
    Main().butSelectVRPoss.UserClick();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1:[C]:" + CR1, "2?{V}?CGAAAAAAAA"}));
    EXPECT_EQ(Main().lstSeq.ListIndex(), 1);  // the last line
    EXPECT_EQ(Shown(),
              "10 bases: 31 - 40 | Variable Region: vr4.txt -- NGAAAAAAAA | e2 | ? | R | AAAA NGAAAAAAAA > "
              "NGAAAAAAAA");
}

TEST_F(Analysis, ChangeTemplateWithoutAChoiceTakesTheBestAndOneWithoutLinesSelectsNothing) {
    StartWithAnalysisFiles();
    ChooseSequence("S1");
    ASSERT_EQ(Main().cbxTemplates.ListIndex(), -1);
    Main().butSelectTemplate.UserClick();
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Grass T1");
    EXPECT_EQ(Lines(), kS1Lines);
    SelectLine(1);
    ChooseSequence("S4");
    ChangeTemplate("Other T2");
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Other T2");
    EXPECT_TRUE(Lines().empty());
    Main().lstSeq.UserFocus();  // nothing selected
    EXPECT_EQ(Shown(), " |  |  | -");
    EXPECT_EQ(Main().ActVRName() + Main().ActVRVariant(), "");
}

TEST_F(Analysis, EnterOnTheComplementBoxTogglesItForTheNextFindTemplate) {
    StartAnalyzed();
    Main().chkInverse.UserPressKey(kKeyEnter);
    EXPECT_EQ(Main().chkInverse.Value(), 1);
    EXPECT_FALSE(Main().TemplateFound());
    EXPECT_EQ(Lines(), kS1Lines);  // nothing changes before the next Find Template
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(ListedBases(), ReverseComplement(S1));
    Main().chkInverse.UserPressKey(kKeyEnter);
    Main().chkInverse.UserPressKey('x');  // other keys do nothing
    EXPECT_EQ(Main().chkInverse.Value(), 0);
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(Lines(), kS1Lines);
}

}  // namespace
}  // namespace varigap::ui::test

// The main window's analysis as the user sees it: Find Template, the lines of the analysed
// sequence and what each kind of line shows, choosing a variant and reparsing, Change
// Template, and the complement box.
#include "core/complement.h"
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

const char* kColonsTip = "Colons (:) indicate that Varigap found an unambiguous alignment for the region.";
const char* kQuestionTip =
    "Question marks (?) indicate that no unambiguous alignment for the region was found by LPAM. User analysis is "
    "recommended.";
const char* kDefaultTip = "Analyzed Sequence Box: actual bases from sequence being analyzed";

const std::vector<std::string> kS1Lines = {
    "1:[C]:" + CR1, "2:{V}:AAGGTTCC", "3:[C]:" + CR2, "4?0,0?CA",     "5?{V}?TTTTTTTT",
    "6?0,0?CA",     "7:[C]:" + CR3,   "8:{V}:",       "9:[C]:" + CR4,
};

struct Analysis : UiTest {
    // The three boxes describing the selected line.
    void ExpectShown(const std::string& seqInfo, const std::string& regionInfo, const std::string& taxa) {
        EXPECT_EQ(Main().lblSeqInfo.Caption(), seqInfo);
        EXPECT_EQ(Main().lblRegionInfo.Caption(), regionInfo);
        EXPECT_EQ(Main().txbxRegionInfo.Text(), taxa);
    }
    // No sequence analysed any more, and no line of S1 left beside that.
    void ExpectSequenceDropped() {
        EXPECT_EQ(Main().lblActSeqName.Caption(), "");
        EXPECT_EQ(Main().GetActSeqName(), "");
        EXPECT_EQ(St().actSeq, "");
        EXPECT_TRUE(Lines().empty());
    }
    // Same Length, Different Length and R are shown together or not at all.
    bool VRButtons() {
        bool same = Main().butIndelSame.Visible();
        EXPECT_EQ(Main().butIndelDiff.Visible(), same);
        EXPECT_EQ(Main().butSelectVRPoss.Visible(), same);
        return same;
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

// ---------------------------------------------------------------- Find Template

TEST_F(Analysis, FindTemplateWithoutASequenceDoesNothing) {
    WriteAnalysisFiles();
    StartProgram();
    LoadTemplateFile("t.tpl");
    Main().butFindTemplate.UserClick();
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(Main().lblActSeqName.Caption(), "");
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "");
    EXPECT_EQ(Main().MousePointer(), kPointerDefault);
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Analysis, FindTemplateWithoutTemplatesNamesTheSequenceOnly) {
    WriteAnalysisFiles();
    StartProgram();
    LoadSequenceFile("s.fasta");
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(Main().lblActSeqName.Caption(), "S1");
    EXPECT_TRUE(Lines().empty());
    EXPECT_TRUE(Main().cbxTemplates.Items().empty());
    EXPECT_TRUE(Texts().empty());
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
    EXPECT_EQ(Main().lblActSeqName.Caption(), "S1");
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Grass T1");
    EXPECT_EQ(Main().cbxTemplates.Items(), (std::vector<std::string>{"Grass T1", "Other T2", "Tail T3"}));
    EXPECT_EQ(Main().cbxTemplates.Text(), "Grass T1");
    // The first line, conserved, is selected and has the focus, so its information is shown.
    EXPECT_EQ(Main().lstSeq.ListIndex(), 0);
    EXPECT_TRUE(Main().lstSeq.HasFocus());
    ExpectShown("30 bases: 1 - 30", "Conserved Region: " + CR1, "Template: Grass T1");
    EXPECT_EQ(Main().lstSeq.ToolTipText(), kColonsTip);
    EXPECT_FALSE(VRButtons());
    EXPECT_FALSE(Main().cbxVRPoss.Visible());
    // Leaving the list restores its default tool tip; scrolling it shows the line's again.
    Main().chkInverse.UserFocus();
    EXPECT_EQ(Main().lstSeq.ToolTipText(), kDefaultTip);
    Main().lstSeq.UserScroll();
    EXPECT_EQ(Main().lstSeq.ToolTipText(), kColonsTip);

    // A variable line with one variant.
    SelectLine(1);
    ExpectShown("8 bases: 31 - 38", "Variable Region: vr1.txt -- AAGGTTCC", "Poa annua");
    EXPECT_EQ(Main().lstSeq.ToolTipText(), kColonsTip);
    EXPECT_TRUE(VRButtons());
    EXPECT_FALSE(Main().cbxVRPoss.Visible());

    // A variable line with several candidates.
    SelectLine(4);
    ExpectShown("8 bases: 71 - 78", "Variable Region: vr2.txt -- TTTTTTTT", "t-b");
    EXPECT_EQ(Main().lstSeq.ToolTipText(), kQuestionTip);
    EXPECT_TRUE(VRButtons());
    EXPECT_TRUE(Main().cbxVRPoss.Visible());
    EXPECT_EQ(Main().cbxVRPoss.Items(), (std::vector<std::string>{"TTTT", "TTTTTTTT"}));
    EXPECT_EQ(Main().cbxVRPoss.Text(), "TTTTTTTT");

    // Bases outside every region ("CA" between CR2 and VR2).
    SelectLine(3);
    ExpectShown("2 bases: 69 - 70", "Confused Region: 0 Conserved Regions and 0 Variable Regions.", "");
    EXPECT_EQ(Main().lstSeq.ToolTipText(), kQuestionTip);
    EXPECT_FALSE(VRButtons());
    EXPECT_FALSE(Main().cbxVRPoss.Visible());

    // A deletion, reached with the keys.
    Main().lstSeq.UserKeyTo(7);
    ExpectShown("No bases", "Variable Region: vr3.txt -- <Deletion>", "Poa deletion");
    EXPECT_EQ(Main().cbxVRPoss.Items(), (std::vector<std::string>{"<Deletion>", "<Deletion>"}));
    EXPECT_TRUE(VRButtons());

    // A confused stretch.
    Analyze("S2");
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"1:[C]:" + CR1, "2?1,2?GAGAGAGATGACTGCATGCAATCGGCTAACGTGCTACGCACACACACA",
                                        "3:[C]:" + CR3, "4:{V}:ACACAC", "5:[C]:" + CR4}));
    SelectLine(1);
    ExpectShown("48 bases: 31 - 78", "Confused Region: 1 Conserved Regions and 2 Variable Regions.",
                "vr1.txt\r\n" + CR2 + "\r\nvr2.txt\r\n");
    EXPECT_FALSE(VRButtons());
}

TEST_F(Analysis, AnEmptySequenceBoxOrAFileThatWentAwayDropsTheSequenceAndItsLines) {
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

// ---------------------------------------------------------------- variants and reparsing

TEST_F(Analysis, ChoosingAnotherVariantShowsItAndReparsingUsesIt) {
    StartAnalyzed();
    SelectLine(4);
    Main().cbxVRPoss.UserSelect(0);
    EXPECT_EQ(Main().lblRegionInfo.Caption(), "Variable Region: vr2.txt -- TTTT");
    EXPECT_EQ(Main().txbxRegionInfo.Text(), "t-a");
    EXPECT_EQ(Main().ActVRSel(), 1);
    EXPECT_EQ(Lines(), kS1Lines);  // nothing reparsed yet

    Main().butSelectVRPoss.UserClick();
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"1:[C]:" + CR1, "2:{V}:AAGGTTCC", "3:[C]:" + CR2, "4?0,0?CA", "5?{V}?TTTT",
                                        "6?0,0?TTTTCA", "7:[C]:" + CR3, "8:{V}:", "9:[C]:" + CR4}));
    EXPECT_EQ(ListedBases(), S1);
    EXPECT_EQ(Main().lstSeq.ListIndex(), 4);
    EXPECT_TRUE(Main().lstSeq.HasFocus());
    EXPECT_EQ(Main().cbxVRPoss.Text(), "TTTT");
    ExpectShown("4 bases: 71 - 74", "Variable Region: vr2.txt -- TTTT", "t-a");
}

TEST_F(Analysis, ChangeTemplateAndReparsingOnTheLastLineOfAListThatBecomesShorter) {
    StartAnalyzed("S3");
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Grass T1");
    ChangeTemplate("Tail T3");
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Tail T3");
    EXPECT_EQ(St().actTemplate, 3);
    // The list is filled again from the new ranking and shows the template used.
    EXPECT_EQ(Main().cbxTemplates.Text(), "Tail T3");
    EXPECT_EQ(Main().cbxTemplates.ListCount(), 3);
    ASSERT_EQ(Lines(), (std::vector<std::string>{"1:[C]:" + CR1, "2?{V}?CGAAAAAAAA"}));

    SelectLine(1);
    EXPECT_EQ(Main().cbxVRPoss.Items(), (std::vector<std::string>{"AAAA", "NGAAAAAAAA"}));
    Main().cbxVRPoss.UserSelect(0);
    Main().butSelectVRPoss.UserClick();
    ASSERT_EQ(Lines(), (std::vector<std::string>{"1:[C]:" + CR1, "2?0,0?CG", "3?{V}?AAAA", "4?0,0?AAAA"}));
    SelectLine(2);
    Main().cbxVRPoss.UserSelect(1);
    Main().butSelectVRPoss.UserClick();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1:[C]:" + CR1, "2?{V}?CGAAAAAAAA"}));
    EXPECT_EQ(Main().lstSeq.ListIndex(), 1);  // the last line
    EXPECT_EQ(Main().lblRegionInfo.Caption(), "Variable Region: vr4.txt -- NGAAAAAAAA");
    EXPECT_EQ(Main().txbxRegionInfo.Text(), "e2");
}

TEST_F(Analysis, ChangeTemplateWithoutAChoiceTakesTheBest) {
    StartWithAnalysisFiles();
    ChooseSequence("S1");
    ASSERT_EQ(Main().cbxTemplates.ListIndex(), -1);
    Main().butSelectTemplate.UserClick();
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Grass T1");
    EXPECT_EQ(Lines(), kS1Lines);
}

TEST_F(Analysis, AnAnalysisWithoutLinesAndNothingSelected) {
    StartAnalyzed();
    SelectLine(1);
    ASSERT_TRUE(VRButtons());
    ChooseSequence("S4");
    ChangeTemplate("Other T2");
    EXPECT_EQ(Main().lblBestTemplate.Caption(), "Other T2");
    EXPECT_TRUE(Lines().empty());
    ExpectShown("", "", "");
    Main().lstSeq.UserFocus();  // nothing selected
    EXPECT_FALSE(VRButtons());
    EXPECT_EQ(Main().lstSeq.ToolTipText(), kDefaultTip);
    EXPECT_EQ(Main().ActVRName(), "");
    EXPECT_EQ(Main().ActVRVariant(), "");
}

// ---------------------------------------------------------------- complement

TEST_F(Analysis, EnterOnTheComplementBoxTogglesItForTheNextFindTemplate) {
    StartAnalyzed();
    Main().chkInverse.UserPressKey(kKeyEnter);
    EXPECT_EQ(Main().chkInverse.Value(), 1);
    EXPECT_FALSE(Main().TemplateFound());
    EXPECT_EQ(Lines(), kS1Lines);  // nothing changes before the next Find Template
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(St().actSeq, ReverseComplement(S1));
    EXPECT_EQ(ListedBases(), ReverseComplement(S1));
    Main().chkInverse.UserPressKey(kKeyEnter);
    EXPECT_EQ(Main().chkInverse.Value(), 0);
    Main().chkInverse.UserPressKey('x');  // other keys do nothing
    EXPECT_EQ(Main().chkInverse.Value(), 0);
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(Lines(), kS1Lines);
}

}  // namespace
}  // namespace varigap::ui::test

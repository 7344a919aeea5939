// The main window's analysis as the user sees it: Find Template, the lines of the analysed
// sequence and what each kind of line shows, choosing a variant and reparsing, Change
// Template, and the complement box. What the windows show after each step is in
// golden/analysis.txt.
#include "core/complement.h"
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct Analysis : UiTest {
    // The bases of the listed lines, joined: the analysed sequence when the lines tile it.
    std::string ListedBases() {
        std::string all;  // each line's bases follow its second flag
        for (const auto& l : Lines()) all += l.substr(l.find_first_of(":?", l.find_first_of(":?") + 1) + 1);
        return all;
    }
};

TEST_F(Analysis, TheStoryOfAnAnalysis) {
    WriteAnalysisFiles();
    StartProgram();
    Step("started");
    LoadTemplateFile("t.tpl");
    Step("templates loaded");
    Main().butFindTemplate.UserClick();
    Step("Find Template without a sequence: nothing happens");
    LoadSequenceFile("s.fasta");
    Step("sequences loaded");
    Main().butSelectTemplate.UserClick();
    Step("Change Template without a choice: S1 with the best template, the first line selected, with the focus");
    std::vector<int> pointers{Main().MousePointer()};
    Main().Subscribe([&] {
        if (pointers.back() != Main().MousePointer()) pointers.push_back(Main().MousePointer());
    });
    Analyze("S1");
    EXPECT_EQ(pointers, (std::vector<int>{kPointerDefault, kPointerHourglass, kPointerDefault}));
    EXPECT_EQ(ListedBases(), S1);
    Step("Find Template on S1: the same");
    Main().cbxOrient.UserFocus();
    Step("leaving the list: its default tool tip");
    Main().lstSeq.UserScroll();
    Step("scrolling the list: the line's tool tip again");
    SelectLine(1);
    Step("line 2: a variable region with one variant");
    SelectLine(4);
    Step("line 5: a variable region with two candidates");
    SelectLine(3);
    Step("line 4: bases outside every region");
    Main().lstSeq.UserKeyTo(7);
    Step("line 8, reached with the keys: a deletion");
    SelectLine(4);
    Main().cbxVRPoss.UserSelect(0);
    Step("line 5, the other candidate chosen: shown, not yet reparsed");
    Main().butSelectVRPoss.UserClick();
    EXPECT_EQ(ListedBases(), S1);
    Step("R: reparsed with that candidate");
    Analyze("S2");
    SelectLine(1);
    Step("S2, line 2: a confused stretch");
    Main().cbxSequences.UserType("");
    Main().butFindTemplate.UserClick();
    Step("Find Template with an empty sequence box: the sequence dropped, the analysis shown cleared");
    Analyze("S3");
    Main().cbxTemplates.UserSelect(2);  // Tail T3
    Main().butSelectTemplate.UserClick();
    Step("S3 with the template chosen in the box: the list filled again from the ranking");
    SelectLine(1);
    Main().cbxVRPoss.UserSelect(0);
    Main().butSelectVRPoss.UserClick();
    SelectLine(2);
    Main().cbxVRPoss.UserSelect(1);
    Main().butSelectVRPoss.UserClick();
    Step("reparsed twice: the list becomes shorter, its last line selected");
    ChooseSequence("S4");
    Main().cbxTemplates.UserSelect(1);  // Other T2
    Main().butSelectTemplate.UserClick();
    Main().lstSeq.UserFocus();
    Step("S4 with another template: no lines, nothing selected");
    Analyze("S1");
    Main().cbxOrient.UserSelect(1);
    Step("the reverse strand chosen: nothing else changes");
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(ListedBases(), ReverseComplement(S1));
    Step("Find Template: the complement analysed");
    Main().cbxOrient.UserSelect(0);
    std::remove(data.Path("s.fasta").c_str());
    Analyze("S2");
    Step("the sequence file gone: its records were read whole when it was loaded, so S2 is analysed");
    ExpectStory("analysis.txt");
}

}  // namespace
}  // namespace varigap::ui::test

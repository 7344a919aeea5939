// Where a biologist looks in the main window: Undo of Reparse and Change Template, finding
// bases and going to a position in the analysed sequence.
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

using Looking = UiTest;

TEST_F(Looking, UndoTakesBackReparseAndChangeTemplateInTurn) {
    StartAnalyzed("S1");
    const auto found = Lines();
    EXPECT_FALSE(Main().menuUndo.Enabled());
    SelectLine(4);  // VR2: two candidates
    Main().cbxVRPoss.UserSelect(0);
    Main().butSelectVRPoss.UserClick();
    const auto reparsed = Lines();
    ASSERT_NE(reparsed, found);
    EXPECT_EQ(Main().menuUndo.Caption(), "&Undo Reparse");
    Main().cbxTemplates.UserSelect(1);
    Main().butSelectTemplate.UserClick();
    ASSERT_NE(Lines(), reparsed);
    EXPECT_EQ(Main().menuUndo.Caption(), "&Undo Change Template");
    // back step by step: each analysis as it was, its line selected again
    for (const auto* before : {&reparsed, &found}) {
        Main().menuUndo.UserClick();
        EXPECT_EQ(Lines(), *before);
        EXPECT_EQ(Main().lstSeq.ListIndex(), 4);
    }
    EXPECT_FALSE(Main().menuUndo.Enabled());
    // Find Template starts afresh: nothing to take back
    Main().butSelectVRPoss.UserClick();
    EXPECT_TRUE(Main().menuUndo.Enabled());
    Main().butFindTemplate.UserClick();
    EXPECT_FALSE(Main().menuUndo.Enabled());
}

TEST_F(Looking, FindSelectsTheLineOfTheBasesOrThePositionTyped) {
    StartAnalyzed("S1");  // CR1 1-30, VR1 31-38, CR2 39-68, CA, VR2 71-78, ...
    EXPECT_EQ(Main().txbxRuler.Text(),
              "1        10        20        30\r\n....:....|....:....|....:....|\r\n" + CR1);  // line 1 selected
    const struct {
        std::string typed, status;
        int line;
    } cases[] = {
        {"35", "Position 35: line 2.", 1},
        {"ggttcc", "Bases 33 - 38: line 2; Find again for the next place.", 1},
        {"TTTT", "Bases 71 - 74: line 5; Find again for the next place.", 4},
        {"TTTT", "Bases 72 - 75: line 5; Find again for the next place.", 4},  // the next place
        {"640", "Position 640 is outside the analyzed sequence (1 - 140).", 4},
        {"xyz", "\"xyz\" is not in the analyzed sequence.", 4},
    };
    for (const auto& c : cases) {
        Main().txbxFind.UserType(c.typed);
        Main().txbxFind.UserPressKey(kKeyEnter);
        EXPECT_EQ(Main().lblStatus.Caption(), c.status) << c.typed;
        EXPECT_EQ(Main().lstSeq.ListIndex(), c.line) << c.typed;
    }
}

TEST_F(Looking, EachFileWindowOpensInItsLastFolderWhileItExists) {
    data.Write("seqs/s.fasta", ">S\r\nACGT\r\n");
    StartProgram();
    app->lastFolder = {{"FLoadSequence", data.Path("seqs")}, {"FLoadTemplate", data.Path("gone")}};
    Main().menuLoadSequences.UserClick();
    EXPECT_EQ(app->LoadSequence().Dir1.Path(), data.Path("seqs"));
    Main().menuLoadTemplate.UserClick();  // its folder gone: the last folder chosen in either
    EXPECT_EQ(app->LoadTemplate().Dir1.Path(), data.Path("seqs"));
    EXPECT_EQ(app->lastFolder["FLoadTemplate"], data.Path("seqs"));  // kept for the next session
}

}  // namespace
}  // namespace varigap::ui::test

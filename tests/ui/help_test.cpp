// The help window: its chapters as files beside the program. What the windows show after each
// step is in golden/help.txt.
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

TEST_F(UiTest, TheStoryOfTheHelpWindow) {
    const std::string exact = std::string(31998, 'x') + "\r\n";  // 32000 bytes are shown, 32001 are not
    prog.Write("VarigapHelp1.txt", exact);
    prog.Write("VarigapHelp2.txt", exact + "y");
    for (int i : {3, 4, 6})
        prog.Write("VarigapHelp" + std::to_string(i) + ".txt", "Chapter " + std::to_string(i) + "\r\n");
    prog.Write("VarigapHelp5.txt", "");
    StartProgram();
    FHelp& w = app->Help();
    Main().butHelp.UserClick();
    Step("Help: the contents, chapter 0, are missing");
    w.butChapter[1].UserClick();
    EXPECT_EQ(w.txbxHelp.Text(), exact);
    for (int i : {1, 2, 3, 4, 5, 6}) {
        w.butChapter[i].UserClick();
        Step("chapter " + std::to_string(i));
    }
    prog.Write("VarigapHelp0.txt", "Contents\r\n");
    std::remove(prog.Path("VarigapHelp3.txt").c_str());
    w.butChapter[3].UserClick();
    Main().butHelp.UserClick();
    Step("chapter 3 gone; Help again while the window is open: the chapter stays");
    w.UserClose();
    Main().butHelp.UserClick();
    EXPECT_EQ(w.ActChapter(), 0);
    Step("closed and opened again: the contents");
    ExpectStory("help.txt");
}

}  // namespace
}  // namespace varigap::ui::test

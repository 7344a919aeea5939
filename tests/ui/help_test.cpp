// The help window: its chapters as files beside the program.
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

std::string Chapter(int i) { return "Chapter " + std::to_string(i) + "\r\nsecond line\r\n"; }

TEST_F(UiTest, HelpShowsEachChapterUnchangedAndOpensOnTheContentsAfterAClose) {
    for (int i = 0; i < 7; ++i) prog.Write("VarigapHelp" + std::to_string(i) + ".txt", Chapter(i));
    StartProgram();
    Main().butHelp.UserClick();
    FHelp& w = app->Help();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.txbxHelp.Text(), Chapter(0));
    for (int i : {6, 5, 4, 3, 2, 1, 0, 3}) {
        w.butChapter[i].UserClick();
        EXPECT_EQ(w.txbxHelp.Text(), Chapter(i));
        EXPECT_TRUE(w.txbxHelp.HasFocus());
    }
    Main().butHelp.UserClick();  // open already: the chapter stays
    EXPECT_EQ(w.txbxHelp.Text(), Chapter(3));
    w.UserClose();
    Main().butHelp.UserClick();
    EXPECT_EQ(w.ActChapter(), 0);
    EXPECT_EQ(w.txbxHelp.Text(), Chapter(0));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(UiTest, HelpChaptersMissingEmptyAndTooLong) {
    const std::string exact = std::string(31998, 'x') + "\r\n";  // 32000 bytes are shown, 32001 are not
    prog.Write("VarigapHelp1.txt", exact);
    prog.Write("VarigapHelp2.txt", exact + "y");
    prog.Write("VarigapHelp4.txt", Chapter(4));
    prog.Write("VarigapHelp5.txt", "");
    StartProgram();
    Main().butHelp.UserClick();  // chapter 0 is missing: a message
    for (auto [i, text] : {std::pair{1, exact},
                           {2, "Error: help file is too long to fit in this text box."},
                           {5, ""},
                           {3, "Error: help file VarigapHelp3.txt not found."},
                           {4, Chapter(4)}}) {
        app->Help().butChapter[i].UserClick();
        EXPECT_EQ(app->Help().txbxHelp.Text(), text) << i;
    }
    auto missing = [&](int i) {
        return "Error: Varigap Help File \"" + prog.Path("VarigapHelp" + std::to_string(i) + ".txt") + "\" not found.";
    };
    EXPECT_EQ(Texts(), (std::vector<std::string>{missing(0), missing(3)}));
}

}  // namespace
}  // namespace varigap::ui::test

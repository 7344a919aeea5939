// The help window: its chapters as files beside the program.
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct Help : UiTest {
    FHelp& W() { return app->Help(); }
    static std::string Chapter(int i) { return "Chapter " + std::to_string(i) + "\r\nsecond line\r\n"; }
    void ShowChapter(int i) { W().butChapter[i].UserClick(); }
};

TEST_F(Help, EachChapterIsShownUnchangedAndEveryOpeningAfterACloseStartsWithTheContents) {
    for (int i = 0; i < 7; ++i) prog.Write("VarigapHelp" + std::to_string(i) + ".txt", Chapter(i));
    StartProgram();
    Main().butHelp.UserClick();
    FHelp& w = W();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Caption(), "Varigap Help File");
    EXPECT_EQ(w.txbxHelp.Text(), Chapter(0));
    const char* captions[] = {"&Contents", "&Files", "&Using", "&Algorithms", "&Problems", "&trnL-F", "&Other Uses"};
    for (int i = 6; i >= 0; --i) {
        EXPECT_EQ(w.butChapter[i].Caption(), captions[i]);
        ShowChapter(i);
        EXPECT_EQ(w.txbxHelp.Text(), Chapter(i));
        EXPECT_TRUE(w.txbxHelp.HasFocus());
    }
    ShowChapter(3);
    Main().butHelp.UserClick();  // open already: the chapter stays
    EXPECT_EQ(w.txbxHelp.Text(), Chapter(3));
    w.UserClose();
    Main().butHelp.UserClick();
    EXPECT_EQ(w.ActChapter(), 0);
    EXPECT_EQ(w.txbxHelp.Text(), Chapter(0));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Help, MissingEmptyAndLongChapters) {
    std::string exact(31998, 'x');
    exact += "\r\n";
    prog.Write("VarigapHelp1.txt", exact);
    prog.Write("VarigapHelp2.txt", exact + "y");
    prog.Write("VarigapHelp4.txt", Chapter(4));
    prog.Write("VarigapHelp5.txt", "");
    StartProgram();
    Main().butHelp.UserClick();
    ShowChapter(1);  // 32000 bytes are shown, 32001 are not
    EXPECT_EQ(W().txbxHelp.Text(), exact);
    ShowChapter(2);
    EXPECT_EQ(W().txbxHelp.Text(), "Error: help file is too long to fit in this text box.");
    ShowChapter(5);
    EXPECT_EQ(W().txbxHelp.Text(), "");
    EXPECT_EQ(Texts(), std::vector<std::string>{"Error: Varigap Help File \"" + prog.Path("VarigapHelp0.txt") +
                                                "\" not found."});
    EXPECT_EQ(LastMessage().title, "Varigap");
    ShowChapter(3);
    EXPECT_EQ(W().txbxHelp.Text(), "Error: help file VarigapHelp3.txt not found.");
    EXPECT_EQ(Texts().size(), 2u);
    ShowChapter(4);  // the others stay usable
    EXPECT_EQ(W().txbxHelp.Text(), Chapter(4));
}

}  // namespace
}  // namespace varigap::ui::test

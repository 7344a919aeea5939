// The help window: its chapters as files beside the program.
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct Help : UiTest {
    FHelp& W() { return app->Help(); }
    void WriteChapters() {
        for (int i = 0; i < 7; ++i)
            prog.Write("VarigapHelp" + std::to_string(i) + ".txt", "Chapter " + std::to_string(i) + "\r\nsecond line\r\n");
    }
};

TEST_F(Help, EachChapterIsShownUnchanged) {
    WriteChapters();
    StartProgram();
    Main().butHelp.UserClick();
    FHelp& w = W();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Caption(), "Varigap Help File");
    EXPECT_EQ(w.txbxHelp.Text(), "Chapter 0\r\nsecond line\r\n");
    const char* captions[] = {"&Contents", "&Files", "&Using", "&Algorithms", "&Problems", "&trnL-F", "&Other Uses"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(w.butChapter[i].Caption(), captions[i]);
        w.butChapter[i].UserClick();
        EXPECT_EQ(w.txbxHelp.Text(), "Chapter " + std::to_string(i) + "\r\nsecond line\r\n");
        EXPECT_EQ(w.ActChapter(), i);
        EXPECT_TRUE(w.txbxHelp.HasFocus());
    }
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Help, EveryOpeningAfterACloseStartsWithTheContents) {
    WriteChapters();
    StartProgram();
    Main().butHelp.UserClick();
    W().butChapter[3].UserClick();
    Main().butHelp.UserClick();  // open already: the chapter stays
    EXPECT_EQ(W().txbxHelp.Text(), "Chapter 3\r\nsecond line\r\n");
    W().UserClose();
    EXPECT_FALSE(W().Visible());
    Main().butHelp.UserClick();
    EXPECT_EQ(W().ActChapter(), 0);
    EXPECT_EQ(W().txbxHelp.Text(), "Chapter 0\r\nsecond line\r\n");
}

TEST_F(Help, AMissingChapterIsReportedAndTheOthersStayUsable) {
    WriteChapters();
    std::remove(prog.Path("VarigapHelp3.txt").c_str());
    StartProgram();
    Main().butHelp.UserClick();
    W().butChapter[3].UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Error: Varigap Help File \"" + prog.Path("VarigapHelp3.txt") +
                                                "\" not found."});
    EXPECT_EQ(LastMessage().title, "Varigap");
    EXPECT_EQ(W().txbxHelp.Text(), "Error: help file VarigapHelp3.txt not found.");
    W().butChapter[4].UserClick();
    EXPECT_EQ(W().txbxHelp.Text(), "Chapter 4\r\nsecond line\r\n");
}

TEST_F(Help, WithoutHelpFilesEveryChapterSaysSo) {
    StartProgram();
    Main().butHelp.UserClick();
    EXPECT_EQ(W().txbxHelp.Text(), "Error: help file VarigapHelp0.txt not found.");
    W().butChapter[6].UserClick();
    EXPECT_EQ(W().txbxHelp.Text(), "Error: help file VarigapHelp6.txt not found.");
    EXPECT_EQ(Texts().size(), 2u);
}

TEST_F(Help, AChapterOf32000BytesIsShownAndOneOf32001IsNot) {
    WriteChapters();
    std::string exact(31998, 'x');
    exact += "\r\n";
    prog.Write("VarigapHelp1.txt", exact);
    prog.Write("VarigapHelp2.txt", exact + "y");
    prog.Write("VarigapHelp5.txt", "");
    StartProgram();
    Main().butHelp.UserClick();
    W().butChapter[1].UserClick();
    EXPECT_EQ(W().txbxHelp.Text(), exact);
    W().butChapter[2].UserClick();
    EXPECT_EQ(W().txbxHelp.Text(), "Error: help file is too long to fit in this text box.");
    W().butChapter[5].UserClick();
    EXPECT_EQ(W().txbxHelp.Text(), "");
    EXPECT_TRUE(Texts().empty());
}

}  // namespace
}  // namespace varigap::ui::test

// The output window: the suggested file name, the overwrite question, what is written, and
// places that cannot be written.
#include <filesystem>
#include <iterator>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

namespace fs = std::filesystem;

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

struct OutputWindow : UiTest {
    FWriteOutputFile& W() { return app->WriteOutput(); }
    // The name the window suggests after an analysis of `name` (no templates needed).
    std::string SuggestionFor(const std::string& name) {
        ChooseSequence(name);
        Main().butFindTemplate.UserClick();
        Main().menuWriteOutputFile.UserClick();
        std::string s = W().txbxFileName.Text();
        W().UserClose();
        return s;
    }
};

TEST_F(OutputWindow, SuggestedNamesFromTheSequenceName) {
    data.Write("names.fasta", ">12 Bro-mus_erect\r\nACGT\r\n>12345\r\nACGT\r\n>\r\nACGT\r\n>S1\r\nACGT\r\n");
    StartProgram();
    Main().menuWriteOutputFile.UserClick();
    EXPECT_EQ(W().txbxFileName.Text(), "");

    LoadSequenceFile("names.fasta");
    EXPECT_EQ(SuggestionFor("12 Bro-mus_erect"), "Bromuser.txt");
    EXPECT_EQ(SuggestionFor("12345"), ".txt");
    EXPECT_EQ(SuggestionFor("S1"), "S1.txt");
    EXPECT_EQ(SuggestionFor(""), "");
    Main().cbxSequences.UserType(" \t  ");
    Main().butFindTemplate.UserClick();
    Main().menuWriteOutputFile.UserClick();
    EXPECT_EQ(W().txbxFileName.Text(), "");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(OutputWindow, WritingTheAnalysisAndTheOverwriteQuestion) {
    StartAnalyzed();
    Main().menuWriteOutputFile.UserClick();
    FWriteOutputFile& w = W();
    EXPECT_EQ(w.Caption(), "Varigap: Write Output File");
    EXPECT_EQ(w.txbxFileName.Text(), "S1.txt");
    EXPECT_TRUE(w.txbxFileName.HasFocus());
    EXPECT_EQ(w.Dir1.Path(), data.Path());
    EXPECT_EQ(w.lblFileName.Caption(), "Enter name of file here. ");
    EXPECT_EQ(w.butWriteOutputFile.ToolTipText(), "Write the sequence in the Analyzed Sequence window to a text file.");
    // A typed name is replaced when the user comes back.
    w.txbxFileName.UserType("other.txt");
    Main().UserActivate();
    w.UserActivate();
    EXPECT_EQ(w.txbxFileName.Text(), "S1.txt");

    w.chkIncludeSpeciesLists.UserClick();
    w.txbxFileName.UserPressKey(kKeyEnter);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Output file \"S1.txt\" has been written."});
    EXPECT_EQ(LastMessage().title, "Varigap");
    EXPECT_FALSE(w.Visible());
    std::string text = data.Read("S1.txt");
    EXPECT_TRUE(StartsWith(text,
                           "# Varigap Output File \"S1.txt\"\r\n# Analyzed with template \"Grass T1\"\r\n"
                           "# Uncertain placements (\"?\"): 69..70, 71..78, 79..80\r\n\r\n"
                           "NAME  S1\r\n    (bases 1 to 140)\r\n\r\nFEATURES\r\n    1..30\r\n"
                           "        Conserved Region #1\r\n    31..38\r\n        Variable Region: \"vr1.txt\"\r\n"
                           "        Poa annua\r\n"))
        << text;
    EXPECT_NE(text.find("    110[DEL]111\r\n        Variable Region: \"vr3.txt\"\r\n        Poa deletion\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("ORIGIN\r\n  1 ATGCGTACCT"), std::string::npos);

    data.Write("S1.txt", "old");
    msgs.Clear();
    Main().menuWriteOutputFile.UserClick();
    msgs.answers = {MsgAnswer::No};
    w.butWriteOutputFile.UserClick();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text,
              "Output File " + data.Path("S1.txt") + " already exists.\r\nDo you want to overwrite it?");
    EXPECT_EQ(msgs.shown[0].title, "Varigap");
    EXPECT_EQ(msgs.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(data.Read("S1.txt"), "old");
    EXPECT_TRUE(w.Visible());
    msgs.answers = {MsgAnswer::Yes};
    w.butWriteOutputFile.UserClick();
    EXPECT_EQ(msgs.shown.size(), 3u);
    EXPECT_EQ(data.Read("S1.txt"), text);
    EXPECT_FALSE(w.Visible());
    // An empty name does nothing.
    Main().menuWriteOutputFile.UserClick();
    w.txbxFileName.UserType("");
    w.butWriteOutputFile.UserClick();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(msgs.shown.size(), 3u);
}

TEST_F(OutputWindow, PlacesThatCannotBeWritten) {
    StartWithAnalysisFiles();
    data.Write("out/keep.txt", "");
    fs::create_directories(data.Path("S1.txt/inside"));
    app->drives = {"/", data.Path("usb")};
    auto FileCount = [&] { return std::distance(fs::directory_iterator(data.Path()), fs::directory_iterator()); };
    const auto before = FileCount();
    Analyze("S1");
    Main().menuWriteOutputFile.UserClick();
    FWriteOutputFile& w = W();
    // A drive that cannot be read, chosen or entered, is left silently.
    ExpectUnreadableDriveIgnored(w.Drive1, w.Dir1);
    EXPECT_TRUE(Texts().empty());

    // A name taken by a directory: reported, and no temporary file left behind.
    w.butWriteOutputFile.UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Run-Time Error #75: Path/File access error"});
    EXPECT_TRUE(w.Visible());
    EXPECT_TRUE(fs::is_directory(data.Path("S1.txt/inside")));
    EXPECT_EQ(FileCount(), before);
    msgs.Clear();

    // A directory that is gone.
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "out"));
    w.Dir1.UserPressKey(kKeyEnter);
    fs::remove_all(data.Path("out"));
    w.butWriteOutputFile.UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Run-Time Error #76: Path not found"});
    EXPECT_EQ(LastMessage().title, "Varigap Run-Time Error");
    EXPECT_TRUE(w.Visible());
    EXPECT_FALSE(fs::exists(data.Path("out")));
}

}  // namespace
}  // namespace varigap::ui::test

// The output window: the suggested file name, the overwrite question, what is written, and
// places that cannot be written.
#include <filesystem>
#include <iterator>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

namespace fs = std::filesystem;

TEST_F(UiTest, OutputWindowSuggestsANameFromTheSequenceName) {
    data.Write("names.fasta", ">12 Bro-mus_erect\r\nACGT\r\n>\r\nACGT\r\n");
    StartProgram();
    LoadSequenceFile("names.fasta");
    for (auto [typed, suggested] : {std::pair{"12 Bro-mus_erect", "Bromuser.txt"}, {"", ""}, {" \t  ", ""}}) {
        Main().cbxSequences.UserType(typed);
        Main().butFindTemplate.UserClick();  // no templates needed
        Main().menuWriteOutputFile.UserClick();
        EXPECT_EQ(app->WriteOutput().txbxFileName.Text(), suggested);
        app->WriteOutput().UserClose();
    }
    EXPECT_TRUE(Texts().empty());
}

TEST_F(UiTest, OutputWindowWritesTheAnalysisAndAsksBeforeOverwriting) {
    StartAnalyzed();
    Main().menuWriteOutputFile.UserClick();
    FWriteOutputFile& w = app->WriteOutput();
    EXPECT_EQ(w.txbxFileName.Text(), "S1.txt");
    EXPECT_TRUE(w.txbxFileName.HasFocus());
    EXPECT_EQ(w.Dir1.Path(), data.Path());
    w.txbxFileName.UserType("other.txt");  // a typed name is replaced when the user comes back
    Main().UserActivate();
    w.UserActivate();
    EXPECT_EQ(w.txbxFileName.Text(), "S1.txt");

    w.chkIncludeSpeciesLists.UserClick();
    w.txbxFileName.UserPressKey(kKeyEnter);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Output file \"S1.txt\" has been written."});
    EXPECT_FALSE(w.Visible());
    const std::string text = data.Read("S1.txt");  // the analysis with its taxa
    EXPECT_EQ(text.substr(0, 71), "# Varigap Output File \"S1.txt\"\r\n# Analyzed with template \"Grass T1\"\r\n\r\n");
    EXPECT_NE(text.find("    110[DEL]111\r\n        Variable Region: \"vr3.txt\"\r\n        Poa deletion\r\n"),
              std::string::npos);

    data.Write("S1.txt", "old");
    msgs.Clear();
    Main().menuWriteOutputFile.UserClick();
    msgs.answers = {MsgAnswer::No};
    w.butWriteOutputFile.UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Output File " + data.Path("S1.txt") +
                                                " already exists.\r\nDo you want to overwrite it?"});
    EXPECT_EQ(msgs.shown.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(data.Read("S1.txt"), "old");
    EXPECT_TRUE(w.Visible());
    msgs.answers = {MsgAnswer::Yes};
    w.butWriteOutputFile.UserPressKey(kKeyEnter);
    EXPECT_EQ(data.Read("S1.txt"), text);
    EXPECT_FALSE(w.Visible());
    Main().menuWriteOutputFile.UserClick();  // an empty name does nothing
    w.txbxFileName.UserType("");
    w.butWriteOutputFile.UserClick();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(msgs.shown.size(), 3u);
}

TEST_F(UiTest, OutputWindowReportsPlacesThatCannotBeWritten) {
    StartWithAnalysisFiles();
    data.Write("out/keep.txt", "");
    fs::create_directories(data.Path("S1.txt/inside"));
    app->drives = {"/", data.Path("usb")};
    auto FileCount = [&] { return std::distance(fs::directory_iterator(data.Path()), fs::directory_iterator()); };
    const auto before = FileCount();
    Analyze("S1");
    Main().menuWriteOutputFile.UserClick();
    FWriteOutputFile& w = app->WriteOutput();
    ExpectUnreadableDriveIgnored(w.Drive1, w.Dir1);
    EXPECT_TRUE(Texts().empty());
    // A name taken by a directory: reported, and no temporary file left behind.
    w.butWriteOutputFile.UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Run-Time Error #75: Path/File access error"});
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(FileCount(), before);
    msgs.Clear();
    // A directory that is gone.
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "out"));
    w.Dir1.UserPressKey(kKeyEnter);
    fs::remove_all(data.Path("out"));
    w.butWriteOutputFile.UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Run-Time Error #76: Path not found"});
    EXPECT_TRUE(w.Visible());
    EXPECT_FALSE(fs::exists(data.Path("out")));
}

}  // namespace
}  // namespace varigap::ui::test

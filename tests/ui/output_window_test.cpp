// The output window: the suggested file name, the overwrite question, what is written, and
// places that cannot be written. What the windows show after each step is in
// golden/output_window.txt.
#include <filesystem>
#include <iterator>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

namespace fs = std::filesystem;

TEST_F(UiTest, TheStoryOfTheOutputWindow) {
    WriteAnalysisFiles();
    data.Write("names.fasta", ">12 Bro-mus_erect\r\nACGT\r\n>\r\nACGT\r\n");
    data.Write("out/keep.txt", "");
    fs::create_directories(data.Path("S1.txt.d/inside"));
    StartProgram();
    app->drives = {"/", data.Path("usb")};
    FWriteOutputFile& w = app->WriteOutput();
    LoadSequenceFile("names.fasta");
    for (auto [typed, step] : {std::pair{"12 Bro-mus_erect", "a name made of the first letters and digits"},
                               {"Ölbaum café 1", "letters of other alphabets kept"},
                               {"|||", "no letters: a name all the same, never a hidden one"},
                               {"", "no sequence: the same name"},
                               {" \t  ", "a blank name: the same name"}}) {
        Main().cbxSequences.UserType(typed);
        Main().butFindTemplate.UserClick();  // no templates needed
        Main().menuWriteOutputFile.UserClick();
        Step(std::string("Write Output File after Find Template on \"") + typed + "\": " + step);
        w.UserClose();
    }
    LoadTemplateFile("t.tpl");
    LoadSequenceFile("s.fasta");
    Analyze("S1");
    Main().menuWriteOutputFile.UserClick();
    w.txbxFileName.UserType("other.txt");
    Main().UserActivate();
    w.UserActivate();
    Step("S1 analysed, a name typed, the window left and entered again: the name suggested again");
    w.chkIncludeSpeciesLists.UserClick();
    w.txbxFileName.UserPressKey(kKeyEnter);
    const std::string text = data.Read("S1.txt");  // the analysis with its taxa
    EXPECT_EQ(text.substr(0, 69), "# Varigap Output File \"S1.txt\"\r\n# Analyzed with template \"Grass T1\"\r\n");
    EXPECT_NE(text.find("    110[DEL]111\r\n        Variable Region: \"vr3.txt\"\r\n        Poa deletion\r\n"),
              std::string::npos);
    Step("with the variable region data, Enter: written");
    data.Write("S1.txt", "old");
    Main().menuWriteOutputFile.UserClick();
    msgs.answers = {MsgAnswer::No};
    w.butWriteOutputFile.UserClick();
    EXPECT_EQ(msgs.shown.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(data.Read("S1.txt"), "old");
    Step("the file exists: the question, answered No");
    msgs.answers = {MsgAnswer::Yes};
    w.butWriteOutputFile.UserPressKey(kKeyEnter);
    EXPECT_EQ(data.Read("S1.txt"), text);
    Step("answered Yes: written");
    Main().menuWriteOutputFile.UserClick();
    w.txbxFileName.UserType("");
    w.butWriteOutputFile.UserClick();
    Step("an empty name: nothing happens");

    auto files = [&] { return std::distance(fs::directory_iterator(data.Path()), fs::directory_iterator()); };
    const auto before = files();
    ExpectUnreadableDriveIgnored(w.Drive1, w.Dir1);
    Step("drive 2 cannot be read, chosen or entered: the drive of the directory shown stays");
    w.txbxFileName.UserType("missing/S1.txt");
    w.butWriteOutputFile.UserClick();
    Step("a typed path into a missing folder: reported with the folder");
    w.txbxFileName.UserType("S1.txt.d");
    w.butWriteOutputFile.UserClick();
    EXPECT_EQ(files(), before);  // no temporary file left behind
    Step("a name taken by a directory: reported");
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "out"));
    w.Dir1.UserPressKey(kKeyEnter);
    fs::remove_all(data.Path("out"));
    w.butWriteOutputFile.UserClick();
    EXPECT_FALSE(fs::exists(data.Path("out")));
    Step("a directory that is gone: reported");
    ExpectStory("output_window.txt");
}

}  // namespace
}  // namespace varigap::ui::test

// Starting the program, with and without its settings files, and loading a template file and
// a sequence file through the two file choosers. What the windows show after each step is in
// golden/file_choosers.txt.
#include <filesystem>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

TEST_F(UiTest, StartingWithOrWithoutSettingsFilesAndClosingTheMainWindow) {
    StartProgram(nullptr, nullptr);  // both missing: both reported, in this order, and the defaults hold
    EXPECT_EQ(msgs.Texts(), (std::vector<std::string>{
                                "Error: Varigap Parameter File \"" + prog.Path("VarigapParams.txt") + "\" not found.",
                                "Error: Varigap Options File \"" + prog.Path("VarigapOptions.txt") + "\" not found."}));
    EXPECT_TRUE(app->Running() && Main().IsActive());
    EXPECT_EQ(app->session.wordLength, 6);
    // Other windows are made only when first used; closing the main window ends the program.
    EXPECT_FALSE(app->Created("FLoadTemplate") || app->Created("FAnalyzeVRs"));
    Main().butHelp.UserClick();
    Main().UserClose();
    EXPECT_FALSE(app->Running() || Main().Visible() || app->Help().Visible());
}

TEST_F(UiTest, TheStoryOfTheFileChoosers) {
    WriteAnalysisFiles();
    data.Write("more/other.tpl", ">Other\r\n");
    data.Write("gone/x.tpl", "");
    data.Write("elsewhere/notes.txt", "");
    data.Write("bad.tpl", ">T\r\nacgt\r\n-acgt\r\n");
    data.Write(".hidden", "");  // not listed
    StartProgram();
    app->drives = {"/", data.Path("media/cdrom")};
    Main().menuLoadTemplate.UserClick();
    FLoadTemplate& w = app->LoadTemplate();
    w.LoadTemplateButton.UserClick();
    Step("Load Templates, the button without a file highlighted: nothing happens");
    ExpectUnreadableDriveIgnored(w.Drive1, w.Dir1);
    Step("drive 2 cannot be read, chosen or entered: the drive of the directory shown stays");
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "gone"));
    std::filesystem::remove_all(data.Path("gone"));
    w.Dir1.UserPressKey(kKeyEnter);
    Step("Enter on a directory that went away: stays where it was");
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "more"));
    w.Dir1.UserPressKey(kKeyEnter);
    Step("Enter on \"more\"");
    w.Dir1.UserOpen(0);
    w.File1.UserClickItem(IndexOf(w.File1, "t.tpl"));
    w.File1.UserPressKey(kKeyEnter);
    EXPECT_EQ(app->session.numTemplates, 3);
    EXPECT_EQ(app->session.templateFilePath + "/" + app->session.templateFileName + " " + app->session.vrFilePath,
              data.Path("t.tpl") + " " + data.Path());
    Step("back with \"..\", Enter on t.tpl: loaded, the chooser hidden");
    Main().menuLoadTemplate.UserClick();
    w.File1.UserDoubleClickItem(IndexOf(w.File1, "bad.tpl"));
    EXPECT_EQ(app->session.numTemplates, 0);
    Step("shown again where it was; a file that stops with an error: reported, the chooser stays");
    std::filesystem::create_directories(data.Path("media/cdrom/seqs"));
    w.Drive1.UserChoose(1);
    w.UserClose();
    Main().menuLoadSequences.UserClick();
    Step("a readable drive chosen, closed; Load Sequences opens where the last directory was chosen");
    FLoadSequence& s = app->LoadSequence();
    s.Dir1.UserOpenPath(data.Path());
    s.File1.UserClickItem(IndexOf(s.File1, "s.fasta"));
    s.LoadSequenceButton.UserPressKey(kKeyEnter);
    Step("back to the data, s.fasta highlighted, Enter on the button: loaded");
    Analyze("S1");
    Main().menuLoadSequences.UserClick();
    s.Dir1.UserOpen(IndexOf(s.Dir1, "elsewhere"));
    s.LoadSequenceButton.UserClick();
    EXPECT_EQ(Main().GetActSeqName() + St().actSeq, "");
    Step("S1 analysed; Load Sequences without a file highlighted: the analysed sequence dropped");
    ExpectStory("file_choosers.txt");
}

}  // namespace
}  // namespace varigap::ui::test

// Starting the program, with and without its settings files, and loading a template file and
// a sequence file through the two file choosers.
#include <filesystem>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

TEST_F(UiTest, StartingWithOrWithoutSettingsFiles) {
    StartProgram(nullptr, nullptr);  // both missing: both reported, in this order, and the defaults hold
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "Error: Varigap Parameter File \"" + prog.Path("VarigapParams.txt") + "\" not found.",
                           "Error: Varigap Options File \"" + prog.Path("VarigapOptions.txt") + "\" not found."}));
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(St().wordLength, 6);
    msgs.Clear();
    StartProgram("wordLength = 8\r\n", "showVRWarnings = yes\r\n");
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(St().wordLength, 8);
    EXPECT_TRUE(St().showVRWarnings);
}

TEST_F(UiTest, TheMainWindowOpensWithoutAnAnalysisAndClosingItEndsTheProgram) {
    StartProgram();
    FVarigapMainMenu& m = Main();
    EXPECT_TRUE(app->Running() && m.IsActive());
    EXPECT_EQ(m.lstSeq.ListCount(), 0);
    EXPECT_EQ(m.chkInverse.Value(), 0);
    // Other windows are made only when first used.
    EXPECT_FALSE(app->Created("FLoadTemplate") || app->Created("FAnalyzeVRs"));
    m.butHelp.UserClick();
    m.UserClose();
    EXPECT_FALSE(app->Running() || m.Visible() || app->Help().Visible());
}

TEST_F(UiTest, TheTemplateChooser) {
    WriteAnalysisFiles();
    data.Write("more/other.tpl", ">Other\r\n");
    data.Write("gone/x.tpl", "");
    data.Write("bad.tpl", ">T\r\nacgt\r\n-acgt\r\n");
    StartProgram();
    app->drives = {"/", data.Path("media/cdrom")};
    Main().menuLoadTemplate.UserClick();
    FLoadTemplate& w = app->LoadTemplate();
    EXPECT_TRUE(w.Visible() && w.Dir1.HasFocus());
    EXPECT_EQ(w.Dir1.Path(), data.Path());
    EXPECT_EQ(w.File1.Items(),
              (std::vector<std::string>{"bad.tpl", "s.fasta", "t.tpl", "vr1.txt", "vr2.txt", "vr3.txt", "vr4.txt"}));
    EXPECT_EQ(w.Drive1.Items(), (std::vector<std::string>{"/", data.Path("media/cdrom")}));
    w.LoadTemplateButton.UserClick();  // no file highlighted: nothing happens
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(St().numTemplates, 0);
    ExpectUnreadableDriveIgnored(w.Drive1, w.Dir1);
    // Enter on a directory that went away stays where it was.
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "gone"));
    std::filesystem::remove_all(data.Path("gone"));
    w.Dir1.UserPressKey(kKeyEnter);
    EXPECT_EQ(w.Dir1.Path(), data.Path());
    // Into "more" with Enter, back with "..", then Enter in the file list loads the file.
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "more"));
    w.Dir1.UserPressKey(kKeyEnter);
    EXPECT_EQ(w.File1.Items(), std::vector<std::string>{"other.tpl"});
    w.Dir1.UserOpen(0);
    EXPECT_EQ(w.Dir1.Path(), data.Path());
    w.File1.UserClickItem(IndexOf(w.File1, "t.tpl"));
    w.File1.UserPressKey(kKeyEnter);
    EXPECT_FALSE(w.Visible());
    EXPECT_TRUE(w.Loaded() && Main().IsActive());
    EXPECT_EQ(St().numTemplates, 3);
    EXPECT_EQ(St().templateFilePath + "/" + St().templateFileName, data.Path("t.tpl"));
    EXPECT_EQ(St().vrFilePath, data.Path());
    EXPECT_TRUE(Texts().empty());

    // Shown again, it is where it was; a file that stops with an error keeps it open, emptied.
    Main().menuLoadTemplate.UserClick();
    EXPECT_EQ(w.File1.FileName(), "t.tpl");
    w.File1.UserDoubleClickItem(IndexOf(w.File1, "bad.tpl"));
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "Parse error in template file bad.tpl.  Unexpected initial character in line: -acgt"});
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(St().numTemplates, 0);
    EXPECT_FALSE(Main().TemplateFound());

    // A readable root is taken, and the other chooser opens where the last directory was chosen.
    std::filesystem::create_directories(data.Path("media/cdrom/seqs"));
    w.Drive1.UserChoose(1);
    EXPECT_EQ(w.Dir1.Path(), data.Path("media/cdrom"));
    w.UserClose();
    Main().menuLoadSequences.UserClick();
    EXPECT_EQ(app->LoadSequence().Dir1.Path(), data.Path("media/cdrom"));
    EXPECT_EQ(app->LoadSequence().Dir1.Items(), (std::vector<std::string>{"..", "seqs"}));
}

TEST_F(UiTest, TheSequenceChooserAndLoadingWithoutAFile) {
    WriteAnalysisFiles();
    data.Write("elsewhere/notes.txt", "");
    StartProgram();
    LoadTemplateFile("t.tpl");
    Main().menuLoadSequences.UserClick();
    FLoadSequence& w = app->LoadSequence();
    w.File1.UserFocus();  // highlights s.fasta
    w.LoadSequenceButton.UserPressKey(kKeyEnter);
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Main().cbxSequences.Items(), kSeqNames);
    EXPECT_EQ(Main().cbxSequences.Text(), "S1");
    EXPECT_EQ(St().sequenceFileName, "s.fasta");
    // Without a file highlighted, Load Sequences drops the analysed sequence and closes.
    Analyze("S1");
    Main().menuLoadSequences.UserClick();
    w.Dir1.UserOpen(IndexOf(w.Dir1, "elsewhere"));
    ASSERT_EQ(w.File1.FileName(), "");
    w.LoadSequenceButton.UserClick();
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Main().GetActSeqName() + St().actSeq, "");
    EXPECT_EQ(Main().cbxSequences.Items(), kSeqNames);
    EXPECT_FALSE(Main().TemplateFound());
    EXPECT_TRUE(Texts().empty());
}

}  // namespace
}  // namespace varigap::ui::test

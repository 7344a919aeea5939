// Starting the program, with and without its settings files, and loading a template file and
// a sequence file through the two file choosers.
#include <filesystem>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct StartUp : UiTest {};

// ---------------------------------------------------------------- start-up

TEST_F(StartUp, WithoutSettingsFilesBothAreReportedInOrder) {
    StartProgram(nullptr, nullptr);
    ASSERT_EQ(msgs.shown.size(), 2u);
    EXPECT_EQ(msgs.shown[0].text,
              "Error: Varigap Parameter File \"" + prog.Path("VarigapParams.txt") + "\" not found.");
    EXPECT_EQ(msgs.shown[1].text, "Error: Varigap Options File \"" + prog.Path("VarigapOptions.txt") + "\" not found.");
    for (const auto& m : msgs.shown) {
        EXPECT_EQ(m.title, "Varigap");
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
    }
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(St().wordLength, 6);  // the defaults; of the messages only the warnings are off
    EXPECT_FALSE(St().showVRWarnings);
    EXPECT_TRUE(St().showRunTimeErrors && St().showAssertFailures);
}

TEST_F(StartUp, WithBothFilesNothingIsSaidAndTheirValuesHold) {
    StartProgram("wordLength = 8\r\n", "showVRWarnings = yes\r\n");
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(St().wordLength, 8);
    EXPECT_TRUE(St().showVRWarnings);
}

TEST_F(StartUp, TheMainWindowOpensWithoutAnAnalysisAndClosingItEndsTheProgram) {
    StartProgram();
    FVarigapMainMenu& m = Main();
    EXPECT_TRUE(app->Running());
    EXPECT_TRUE(m.IsActive());
    EXPECT_EQ(m.Caption(), "Varigap: Sequence Analysis");
    EXPECT_EQ(m.lstSeq.ToolTipText(), "Analyzed Sequence Box: actual bases from sequence being analyzed");
    EXPECT_EQ(m.lstSeq.ListCount(), 0);
    EXPECT_EQ(m.lstSeq.fontName, "Courier New");
    for (Control* c : std::vector<Control*>{&m.butSelectVRPoss, &m.cbxVRPoss, &m.butIndelSame, &m.butIndelDiff})
        EXPECT_FALSE(c->Visible()) << c->Name();
    EXPECT_EQ(m.chkInverse.Value(), 0);
    EXPECT_EQ(m.chkInverse.Caption(), "&Use Complementary Sequence");
    EXPECT_EQ(m.butFindTemplate.Caption(), "Find &Template");
    EXPECT_EQ(m.butFindTemplate.ToolTipText(), "Click after selecting a sequence to begin Varigap analysis.");
    EXPECT_EQ(m.butSelectTemplate.ToolTipText(),
              "Change Template Button:  Click this button to align the selected sequence with the template selected  "
              "in the box to the right.");
    EXPECT_EQ(m.butSelectVRPoss.Caption(), "&R");
    EXPECT_EQ(m.butIndelSame.Caption(), "&Same Length");
    EXPECT_EQ(m.butIndelDiff.Caption(), "&Different Length");
    EXPECT_EQ(m.txbxRegionInfo.ToolTipText(), "Taxa Box");
    EXPECT_EQ(m.menuFile.Caption(), "&Files");
    EXPECT_EQ(m.menuLoadTemplate.Caption(), "Load &Templates");
    EXPECT_EQ(m.menuLoadTemplate.ParentMenu(), &m.menuFile);
    EXPECT_EQ(m.menuLoadSequences.Caption(), "Load &Sequences");
    EXPECT_EQ(m.menuWriteOutputFile.Caption(), "&Write Output File");
    EXPECT_EQ(m.menuLPAM.Caption(), "&Parameters");
    EXPECT_EQ(m.menuLPAM.ParentMenu(), nullptr);
    EXPECT_EQ(m.menuOptions.Caption(), "&Options");
    // Other windows are made only when first used.
    EXPECT_FALSE(app->Created("FLoadTemplate"));
    EXPECT_FALSE(app->Created("FAnalyzeVRs"));

    m.butHelp.UserClick();
    m.UserClose();
    EXPECT_FALSE(app->Running());
    EXPECT_FALSE(m.Visible());
    EXPECT_FALSE(app->Help().Visible());
}

// ---------------------------------------------------------------- the file choosers

TEST_F(StartUp, TheTemplateChooser) {
    WriteAnalysisFiles();
    data.Write("more/other.tpl", ">Other\r\n");
    data.Write("gone/x.tpl", "");
    data.Write("bad.tpl", ">T\r\nacgt\r\n-acgt\r\n");
    StartProgram();
    app->drives = {"/", data.Path("media/cdrom")};
    Main().menuLoadTemplate.UserClick();
    FLoadTemplate& w = app->LoadTemplate();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Caption(), "Varigap: Load Template");
    EXPECT_EQ(w.LoadTemplateButton.Caption(), "&Load Template");
    EXPECT_EQ(w.LoadTemplateButton.ToolTipText(),
              "Process the file which contains the template of the region to be analyzed.");
    EXPECT_TRUE(w.Dir1.HasFocus());
    EXPECT_EQ(w.Dir1.Path(), data.Path());
    EXPECT_EQ(w.File1.Items(),
              (std::vector<std::string>{"bad.tpl", "s.fasta", "t.tpl", "vr1.txt", "vr2.txt", "vr3.txt", "vr4.txt"}));
    EXPECT_EQ(w.Drive1.Items(), (std::vector<std::string>{"/", data.Path("media/cdrom")}));

    // No file highlighted: nothing happens.
    w.LoadTemplateButton.UserClick();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(St().numTemplates, 0);

    // A drive that cannot be read, chosen or entered, leaves the drive of the directory shown.
    ExpectUnreadableDriveIgnored(w.Drive1, w.Dir1);

    // Enter on a directory that went away stays where it was.
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "gone"));
    std::filesystem::remove_all(data.Path("gone"));
    w.Dir1.UserPressKey(kKeyEnter);
    EXPECT_EQ(w.Dir1.Path(), data.Path());
    EXPECT_TRUE(w.Visible());

    // Into "more" with Enter, back with "..", then Enter in the file list loads the file.
    w.Dir1.UserHighlight(IndexOf(w.Dir1, "more"));
    w.Dir1.UserPressKey(kKeyEnter);
    EXPECT_EQ(w.File1.Items(), std::vector<std::string>{"other.tpl"});
    w.Dir1.UserOpen(0);
    EXPECT_EQ(w.Dir1.Path(), data.Path());
    w.File1.UserClickItem(IndexOf(w.File1, "t.tpl"));
    w.File1.UserPressKey(kKeyEnter);
    EXPECT_FALSE(w.Visible());
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(St().numTemplates, 3);
    EXPECT_EQ(St().templateFileName, "t.tpl");
    EXPECT_EQ(St().templateFilePath, data.Path());
    EXPECT_EQ(St().vrFilePath, data.Path());
    EXPECT_TRUE(Main().IsActive());
    EXPECT_TRUE(Texts().empty());

    // Shown again, it is where it was; a file that stops with an error keeps it open, emptied.
    Main().menuLoadTemplate.UserClick();
    EXPECT_EQ(w.Dir1.Path(), data.Path());
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

TEST_F(StartUp, TheSequenceChooserAndLoadingWithoutAFile) {
    WriteAnalysisFiles();
    data.Write("elsewhere/notes.txt", "");
    StartProgram();
    LoadTemplateFile("t.tpl");
    Main().menuLoadSequences.UserClick();
    FLoadSequence& w = app->LoadSequence();
    EXPECT_EQ(w.Caption(), "Varigap: Load Sequence");
    EXPECT_EQ(w.LoadSequenceButton.Caption(), "&Load Sequences");
    EXPECT_EQ(w.LoadSequenceButton.ToolTipText(), "Process the file which contains the sequences to be analyzed.");
    w.File1.UserFocus();  // highlights s.fasta
    w.LoadSequenceButton.UserPressKey(kKeyEnter);
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Main().cbxSequences.Items(), kSeqNames);
    EXPECT_EQ(Main().cbxSequences.Text(), "S1");
    EXPECT_EQ(St().sequenceFileName, "s.fasta");

    // Without a file highlighted, Load Sequences drops the analysed sequence and closes.
    Analyze("S1");
    ASSERT_EQ(Main().GetActSeqName(), "S1");
    Main().menuLoadSequences.UserClick();
    w.Dir1.UserOpen(IndexOf(w.Dir1, "elsewhere"));
    ASSERT_EQ(w.File1.FileName(), "");
    w.LoadSequenceButton.UserClick();
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Main().GetActSeqName(), "");
    EXPECT_EQ(St().actSeq, "");
    EXPECT_EQ(Main().cbxSequences.Items(), kSeqNames);
    EXPECT_FALSE(Main().TemplateFound());
    EXPECT_TRUE(Texts().empty());
}

}  // namespace
}  // namespace varigap::ui::test

// What the main window shows is always one whole analysis: new files clear it, every list entry
// is its own record, nothing is written without an analysis, the window says why nothing is
// shown; the template list, the Variable Region Analysis window and the file windows follow.
#include <filesystem>

#include "core/complement.h"
#include "ui/file_kinds.h"
#include "ui/item_captions.h"
#include "ui/line_text.h"
#include "ui/recent_files.h"
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct Trust : UiTest {
    FAnalyzeVRs& VR() { return app->AnalyzeVRs(); }
    // Nothing of the analysis left on the window, and nothing to write.
    void ExpectNoAnalysis(const std::string& why) {
        EXPECT_TRUE(Lines().empty());
        EXPECT_FALSE(Main().AnalysisShown());
        EXPECT_EQ(Main().lblBestTemplate.Caption() + Main().lblRegionInfo.Caption() + Main().txbxRegionInfo.Text(), "");
        EXPECT_TRUE(Main().cbxTemplates.Items().empty());
        EXPECT_FALSE(Main().butIndelSame.Visible() || Main().butSelectVRPoss.Visible() || Main().cbxVRPoss.Visible());
        EXPECT_FALSE(VR().Visible());
        EXPECT_EQ(Main().lblStatus.Caption(), why);
        Main().menuWriteOutputFile.UserClick();
        app->WriteOutput().txbxFileName.UserType("out.txt");
        app->WriteOutput().butWriteOutputFile.UserClick();
        EXPECT_FALSE(std::filesystem::exists(data.Path("out.txt")));
        EXPECT_EQ(app->WriteOutput().lblStatus.Caption(),
                  "No analysis is shown in the main window, so there is nothing to write: choose a sequence and press "
                  "Find Template first.");
        app->WriteOutput().UserClose();
    }
};

TEST_F(Trust, NewFilesClearTheAnalysisShown) {
    WriteAnalysisFiles();
    data.Write("other.tpl", ">Other\r\n" + CR1 + "\r\n\"vrX.txt\"\r\n" + CR2 + "\r\n");
    data.Write("novr.tpl", ">No VR\r\n" + CR1 + "\r\n>Second\r\n" + CR2 + "\r\n\"vr1.txt\"\r\n");
    StartProgram();
    LoadTemplateFile("t.tpl");
    LoadSequenceFile("s.fasta");
    EXPECT_EQ(Main().Caption(), "Varigap: Sequence Analysis - t.tpl, s.fasta");
    struct Case {
        std::function<void()> load;
        std::string status;
    } cases[] = {
        {[&] { LoadTemplateFile("other.tpl"); },
         "Template file \"other.tpl\" loaded (1 template): press Find Template to analyze the chosen sequence."},
        {[&] { LoadSequenceFile("s.fasta"); },
         "Sequence file \"s.fasta\" lists 4 sequences: choose one and press Find Template."},
        // answered No: the file is not taken and the template table is emptied
        {[&] {
             msgs.answers = {MsgAnswer::No};
             LoadTemplateFile("novr.tpl");
             app->LoadTemplate().UserClose();
         },
         "The template file \"novr.tpl\" could not be read: no templates are loaded."},
    };
    for (const auto& c : cases) {
        LoadTemplateFile("t.tpl");
        Analyze("S1");
        SelectLine(4);
        Main().butIndelSame.UserClick();
        msgs.Clear();
        c.load();
        ExpectNoAnalysis(c.status);
        Main().lstSeq.UserFocus();
        EXPECT_EQ(Texts().size(), c.status.find("novr") == std::string::npos ? 0u : 1u);  // the question only
    }
    EXPECT_EQ(Main().Caption(), "Varigap: Sequence Analysis - s.fasta");
}

TEST_F(Trust, EachEntryIsItsOwnRecordAndTheFileSaysHowItWasRead) {
    WriteAnalysisFiles();
    data.Write("dup.fasta", ">Dup\r\n" + S3 + "\r\n>Dup\r\n" + S1 + "\r\n>\r\n" + S2 + "\r\n>Rev\r\n" +
                                ReverseComplement(S1) + "\r\n");
    StartProgram();
    LoadTemplateFile("t.tpl");
    LoadSequenceFile("dup.fasta");
    for (int i : {1, 2, 0}) {
        Main().cbxSequences.UserSelect(i);
        Main().butFindTemplate.UserClick();
        EXPECT_EQ(St().actSeq, (std::vector<std::string>{S3, S1, S2}[static_cast<size_t>(i)]));
        EXPECT_TRUE(Main().AnalysisShown());
    }
    // The complement analysed is written so, also after the box is unchecked again.
    Main().cbxSequences.UserSelect(3);
    Main().chkInverse.UserClick();
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(Main().lblStatus.Caption(), "The reverse complement of the sequence as read is analyzed.");
    Main().chkInverse.UserClick();
    Main().menuWriteOutputFile.UserClick();
    app->WriteOutput().butWriteOutputFile.UserClick();
    EXPECT_NE(data.Read("Rev.txt").find("\r\n# Reverse complement of the sequence as read\r\n"), std::string::npos);
}

TEST_F(Trust, TheWindowSaysWhyNoLineIsShownAndWhichTemplateIsUsed) {
    StartAnalyzed("S4");
    EXPECT_EQ(Main().lblStatus.Caption(),
              "No conserved region of template \"Grass T1\" was found in this sequence. If the sequence was read in "
              "reverse, check \"Use Complementary Sequence\" and press Find Template again.");
    EXPECT_TRUE(Main().lblStatus.Visible());
    Analyze("S1");
    EXPECT_FALSE(Main().lblStatus.Visible());
    ChangeTemplate("Other T2");
    EXPECT_EQ(Main().cbxTemplates.Text(), "Other T2");
    ItemShown shown = Main().cbxTemplates.Shown(Main().cbxTemplates.ListIndex());
    EXPECT_EQ(shown.caption.substr(0, shown.caption.find(" bases")), "Other T2  (60");
    EXPECT_NE(shown.caption.find(" of its span)"), std::string::npos);
}

TEST_F(Trust, TheVariableRegionWindowShowsTheLineOfItsRegion) {
    StartAnalyzed();
    SelectLine(1);
    Main().butIndelSame.UserClick();
    SelectLine(4);  // another variable region: the window follows, the main window keeps the focus
    EXPECT_EQ(VR().lblRegionName.Caption(), "Analyzing variable region \"vr2.txt\"");
    EXPECT_EQ(VR().lblActSeqLine.Caption(), "Current Line -- 8 bases: 5?{V}?TTTTTTTT");
    EXPECT_EQ(VR().txbxLength.Text(), "8");
    EXPECT_TRUE(Main().IsActive());
    SelectLine(3);  // no variable region: the window keeps its own and says so
    EXPECT_EQ(VR().lblRegionName.Caption(), "Analyzing variable region \"vr2.txt\"");
    EXPECT_EQ(VR().lblActSeqLine.Caption(),
              "Current Line -- 8 bases: 5?{V}?TTTTTTTT\r\n(line 5; the main window now shows line 4, which is not "
              "one variable region)");
}

TEST_F(Trust, FileWindowsShowNewFilesAndGoWhereAPathIsTyped) {
    WriteAnalysisFiles();
    StartProgram();
    LoadTemplateFile("t.tpl");
    data.Write("sub/later.fasta", ">L\r\n" + S3 + "\r\n");
    data.Write("written.fasta", ">W\r\n" + S1 + "\r\n");
    Main().menuLoadSequences.UserClick();
    FLoadSequence& w = app->LoadSequence();
    EXPECT_EQ(w.File1.Items(), (std::vector<std::string>{"s.fasta", "t.tpl", "vr1.txt", "vr2.txt", "vr3.txt", "vr4.txt",
                                                         "written.fasta"}));
    w.txbxPath.UserType("WR");  // the first letters highlight a file
    EXPECT_EQ(w.File1.FileName(), "written.fasta");
    w.txbxPath.UserType("x");
    EXPECT_EQ(w.File1.FileName(), "");
    w.txbxPath.UserType("sub");
    w.txbxPath.UserPressKey(kKeyEnter);
    EXPECT_EQ(w.Dir1.Path(), data.Path("sub"));
    w.txbxPath.UserType(data.Path("written.fasta"));
    w.txbxPath.UserPressKey(kKeyEnter);
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Main().cbxSequences.Items(), std::vector<std::string>{"W"});
    std::string problem;
    EXPECT_TRUE(app->OpenFile(FileKind::Sequences, data.Path("sub/later.fasta"), problem));
    EXPECT_EQ(Main().cbxSequences.Items(), std::vector<std::string>{"L"});
}

TEST(TrustDecisions, CaptionsRecentFilesKindsAndLineParts) {
    const std::string v574 = "GATTG" + std::string(564, 'C') + "AAAGG";
    EXPECT_EQ(VariantShown(v574).caption, "574 bases: GATTG\u2026AAAGG");
    EXPECT_EQ(VariantShown(v574).toolTip.substr(0, 61), v574.substr(0, 60) + "\n");
    EXPECT_EQ(VariantShown("<Deletion>").caption, "<Deletion>");
    EXPECT_EQ(VariantShown("<Deletion>").toolTip, "");
    EXPECT_EQ(NameShown(std::string(59, 'x') + "\u00e9z").caption, std::string(59, 'x') + "\u2026");
    EXPECT_EQ(NameShown("Poa annua").toolTip, "");

    RecentFiles recent;
    for (int i = 1; i <= 9; ++i) recent.Add(FileKind::Sequences, "/d/s" + std::to_string(i) + ".fasta");
    recent.Add(FileKind::Templates, "/d/s5.fasta");
    EXPECT_EQ(recent.Entries().size(), 8u);
    EXPECT_EQ(recent.Caption(0), "&1 s5.fasta (templates)");
    EXPECT_EQ(recent.Caption(7), "&8 s2.fasta (sequences)");
    RecentFiles restored;
    std::vector<std::string> lines = recent.Save();
    lines.insert(lines.begin(), "bad line");
    restored.Restore(lines);
    EXPECT_EQ(restored.Save(), recent.Save());

    TempDir dir;
    struct Kind {
        std::string name, text;
        FileKind kind;
    } kinds[] = {{"a.tpl", ">S\r\nACGT\r\n", FileKind::Templates},
                 {"b.txt", ">T\r\nACGT\r\n  \"vr.txt\"\r\n", FileKind::Templates},
                 {"c.txt", "# templates\r\n>T\r\nACGT\r\n", FileKind::Templates},
                 {"d.txt", ">S\r\nACGT\r\n>S2\r\nGG\r\n", FileKind::Sequences}};
    for (const auto& k : kinds) EXPECT_EQ(KindOfFile(dir.Write(k.name, k.text)), k.kind) << k.name;

    for (auto [line, bases] : std::vector<std::pair<std::string, std::string>>{
             {"12?{V}?TTAAC", "TTAAC"}, {"4?2,1?ACG", "ACG"}, {"3:{V}:", ""}, {"taxa text", "taxa text"}})
        EXPECT_EQ(BasesOfLine(line), bases) << line;
}

}  // namespace
}  // namespace varigap::ui::test

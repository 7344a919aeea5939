// What the main window shows is always one whole analysis: new files clear it, every list entry
// is its own record, nothing is written without an analysis, the window says why nothing is
// shown; the template list, the Variable Region Analysis window and the file windows follow.
#include <filesystem>

#include "core/complement.h"
#include "ui/item_captions.h"
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct Trust : UiTest {
    FAnalyzeVRs& VR() { return app->AnalyzeVRs(); }
    FWriteOutputFile& Out() { return app->WriteOutput(); }
};

TEST_F(Trust, NewFilesClearTheAnalysisShownAndNothingIsWrittenWithoutOne) {
    WriteAnalysisFiles();
    data.Write("other.tpl", ">Other\r\n" + CR1 + "\r\n\"vrX.txt\"\r\n" + CR2 + "\r\n");
    data.Write("novr.tpl", ">No VR\r\n" + CR1 + "\r\n>Second\r\n" + CR2 + "\r\n\"vr1.txt\"\r\n");
    StartProgram();
    struct Case {
        std::function<void()> load;
        std::string status;
    } cases[] = {
        {[&] { LoadTemplateFile("other.tpl"); },
         "Template file \"other.tpl\" loaded (1 template): press Find Template to analyze the chosen sequence."},
        {[&] { LoadSequenceFile("s.fasta"); },
         "Sequence file \"s.fasta\" (FASTA) lists 4 sequences: choose one and press Find Template."},
        // answered No: the template table is emptied, and no line reads it any more
        {[&] {
             msgs.answers = {MsgAnswer::No};
             LoadTemplateFile("novr.tpl");
             app->LoadTemplate().UserClose();
             Main().lstSeq.UserFocus();
         },
         "The template file \"novr.tpl\" could not be read: no templates are loaded."},
    };
    for (const auto& c : cases) {
        LoadTemplateFile("t.tpl");
        LoadSequenceFile("s.fasta");
        Analyze("S1");
        SelectLine(4);
        Main().butIndelSame.UserClick();
        msgs.Clear();
        c.load();
        EXPECT_TRUE(Lines().empty() && Main().cbxTemplates.Items().empty());
        EXPECT_FALSE(Main().AnalysisShown() || Main().butIndelSame.Visible() || VR().Visible());
        EXPECT_EQ(Main().lblBestTemplate.Caption() + Main().lblRegionInfo.Caption() + Main().txbxRegionInfo.Text(), "");
        EXPECT_EQ(Main().lblStatus.Caption(), c.status);
        EXPECT_LE(msgs.Texts().size(), 1u);  // the question only
        Main().menuWriteOutputFile.UserClick();
        Out().txbxFileName.UserType("out.txt");
        Out().butWriteOutputFile.UserClick();
        EXPECT_FALSE(std::filesystem::exists(data.Path("out.txt")));
        EXPECT_EQ(Out().lblStatus.Caption().substr(0, 39), "No analysis is shown in the main window");
        Out().UserClose();
    }
}

TEST_F(Trust, EachEntryIsItsOwnRecordAndTheFileSaysHowItWasRead) {
    WriteAnalysisFiles();
    data.Write("dup.fasta", ">Dup\r\n" + S3 + "\r\n>Dup\r\n" + S1 + "\r\n>\r\n" + S2 + "\r\n>Rev\r\n" +
                                ReverseComplement(S1) + "\r\n");
    StartProgram();
    LoadTemplateFile("t.tpl");
    LoadSequenceFile("dup.fasta");
    EXPECT_EQ(Main().Caption(), "Varigap: Sequence Analysis - t.tpl, dup.fasta");
    for (auto [entry, bases] : {std::pair{1, S1}, std::pair{2, S2}}) {
        Main().cbxSequences.UserSelect(entry);
        Main().butFindTemplate.UserClick();
        EXPECT_EQ(St().actSeq, bases);
    }
    // The complement analysed is written so, also after the box is unchecked again.
    Main().cbxSequences.UserSelect(3);
    Main().cbxOrient.UserSelect(1);
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(Main().lblStatus.Caption(), "The reverse complement of the sequence as read is analyzed.");
    Main().cbxOrient.UserSelect(0);
    Main().menuWriteOutputFile.UserClick();
    Out().butWriteOutputFile.UserClick();
    EXPECT_NE(data.Read("Rev.txt").find("\r\n# Reverse complement of the sequence as read\r\n"), std::string::npos);
    // Analysed as read: nothing placed, so nothing written, and the window says why.
    Main().butFindTemplate.UserClick();
    Main().menuWriteOutputFile.UserClick();
    Out().txbxFileName.UserType("none.txt");
    Out().butWriteOutputFile.UserClick();
    EXPECT_FALSE(std::filesystem::exists(data.Path("none.txt")));
    EXPECT_EQ(Out().lblStatus.Caption(),
              "Nothing to write for this sequence: no conserved region of template \"Grass T1\" was found in it. If it "
              "was read in reverse, choose \"Reverse (complement)\" in the Strand box (or \"Auto\") and press Find "
              "Template again.");
}

TEST_F(Trust, ALongSequenceFileReachesTheListOfSequencesAtOnce) {
    std::string fasta;
    for (int i = 1; i <= 1000; ++i) fasta += ">R" + std::to_string(i) + "\n" + S4 + "\n";
    data.Write("long.fasta", fasta);
    StartProgram();
    int told = 0;  // a view lays the list out again each time it is told of a change
    Main().cbxSequences.Subscribe([&told] { ++told; });
    LoadSequenceFile("long.fasta");
    EXPECT_EQ(Main().cbxSequences.ListCount(), 1000);
    EXPECT_EQ(Main().cbxSequences.Text(), "R1");
    EXPECT_LE(told, 3);
}

TEST_F(Trust, TheWindowSaysWhyNoLineIsShownAndWhichTemplateIsUsed) {
    // A record of the example holding the region twice, as two records joined.
    const std::string example = VARIGAP_SOURCE_DIR "/data/example/";
    for (const auto& f : std::filesystem::directory_iterator(example))
        if (f.is_regular_file()) std::filesystem::copy(f.path(), data.Path(f.path().filename().string()));
    const std::string text = data.Read("sequences.fasta");
    const size_t from = text.find('\n', text.find(">Tillandsia capillaris OQ834951.1")) + 1;
    std::string bases = text.substr(from, text.find('>', from) - from);
    std::erase(bases, '\n');
    data.Write("twice.fasta", ">Twice\n" + bases + bases + "\n");
    WriteAnalysisFiles();
    StartProgram();
    LoadTemplateFile("trnLF.tpl");
    LoadSequenceFile("twice.fasta");
    Analyze("Twice");
    EXPECT_EQ(Lines().size(), 0u);
    EXPECT_EQ(Main().lblStatus.Caption(),
              "The sequence could not be cut into regions along template \"Poaceae trnL-F\", so no line is shown: "
              "conserved regions #1, #2, #3 were each found more than once, as in a record that holds the region twice "
              "(two records joined, say). Check the record; each part can be analyzed on its own.");
    Main().menuWriteOutputFile.UserClick();
    Out().butWriteOutputFile.UserClick();
    EXPECT_FALSE(std::filesystem::exists(data.Path("Twice.txt")));
    EXPECT_EQ(Out().lblStatus.Caption(),
              "Nothing to write for this sequence: no region of template \"Poaceae trnL-F\" could be placed along it. "
              "The main window says what was found.");
    Out().UserClose();
    LoadTemplateFile("t.tpl");
    LoadSequenceFile("s.fasta");
    Analyze("S4");
    EXPECT_EQ(Main().lblStatus.Caption(),
              "No conserved region of template \"Grass T1\" was found in this sequence. If the sequence was read in "
              "reverse, choose \"Reverse (complement)\" in the Strand box (or \"Auto\") and press Find Template "
              "again.");
    Analyze("S1");
    EXPECT_FALSE(Main().lblStatus.Visible());
    Main().cbxTemplates.UserSelect(IndexOf(Main().cbxTemplates, "Other T2"));
    Main().butSelectTemplate.UserClick();
    EXPECT_EQ(Main().cbxTemplates.Text(), "Other T2");
    EXPECT_EQ(Main().cbxTemplates.Shown(Main().cbxTemplates.ListIndex()).caption,
              "Other T2  (60 bases matched, 1.00 of its span)");
    Analyze("S3");  // CR1 alone: all three templates match its 30 bases, the whole of their span
    for (int i : {0, 1, 2})
        EXPECT_EQ(Main().cbxTemplates.Shown(i).caption,
                  Main().cbxTemplates.List(i) + "  (30 bases matched, 1.00 of its span; tied with " +
                      (i == 0 ? "2 others, first as first in the file)" : "the first)"));
    EXPECT_EQ(VariantShown("GATTG" + std::string(564, 'C') + "AAAGG").caption, "574 bases: GATTG\u2026AAAGG");
}

TEST_F(Trust, TheVariableRegionWindowShowsTheLineOfItsRegion) {
    StartAnalyzed();
    SelectLine(1);
    Main().butIndelSame.UserClick();
    SelectLine(4);  // another variable region: the window follows, the main window keeps the focus
    EXPECT_EQ(VR().lblRegionName.Caption(), "Analyzing variable region \"vr2.txt\"");
    EXPECT_EQ(VR().lblActSeqLine.Caption(), "Current Line -- 8 bases: 5?{V}?TTTTTTTT");
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
    LoadSequenceFile("s.fasta");  // both file windows have been shown
    data.Write("sub/later.fasta", ">L\r\n" + S3 + "\r\n");
    data.Write("written.fasta", ">W\r\n" + S1 + "\r\n");
    Main().menuLoadSequences.UserClick();
    FLoadSequence& w = app->LoadSequence();
    EXPECT_EQ(w.File1.Items().back(), "written.fasta");
    for (auto [typed, highlighted] : {std::pair{"WR", "written.fasta"}, std::pair{"x", ""}}) {
        w.txbxPath.UserType(typed);  // the first letters highlight a file
        EXPECT_EQ(w.File1.FileName(), highlighted);
    }
    w.txbxPath.UserType("sub");
    w.txbxPath.UserPressKey(kKeyEnter);
    EXPECT_EQ(w.File1.Items(), std::vector<std::string>{"later.fasta"});
    w.txbxPath.UserType(data.Path("written.fasta"));
    w.txbxPath.UserPressKey(kKeyEnter);
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Main().cbxSequences.Items(), std::vector<std::string>{"W"});
}

}  // namespace
}  // namespace varigap::ui::test

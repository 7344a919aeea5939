// The program with its windows on real files in temporary directories, driven as a user
// drives it; message boxes are recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "support/temp_dir.h"
#include "ui/analyze_vrs.h"
#include "ui/application.h"
#include "ui/file_choosers.h"
#include "ui/help_window.h"
#include "ui/main_menu.h"
#include "ui/options_dialog.h"
#include "ui/parameters_dialog.h"
#include "ui/write_output_file.h"

namespace varigap::ui::test {

using varigap::test::TempDir;

// Settings files that hold the defaults.
inline const char* kParamsFile = "# Varigap Parameters file \"VarigapParams.txt\"\r\n\r\nwordLength = 6\r\n";
inline const char* kOptionsFile = "# Varigap Options file \"VarigapOptions.txt\"\r\n\r\nshowVRWarnings = FALSE\r\n";

// Conserved regions of the test templates: 30 bases each, no word shared between them.
inline const std::string CR1 = "ATGCGTACCTGAAGTCCATGGCTTAGCAAC";
inline const std::string CR2 = "GGTACCATTGCAGTCGATCCGTAAGCTTGA";
inline const std::string CR3 = "TTCAGGCATCGGAATCCTGACGTTAGCAGT";
inline const std::string CR4 = "CACGATTGGCATAGTCCAGTTCGAAGGCTA";

// Sequences of the test sequence file.
// S1: every region found; VR1 one variant, VR2 two candidates between unexplained bases, VR3
//     deleted (two empty variants listed).
inline const std::string S1 = CR1 + "AAGGTTCC" + CR2 + "CATTTTTTTTCA" + CR3 + CR4;
// S2: CR2 replaced by other bases, so VR1, CR2 and VR2 form one confused stretch.
inline const std::string S2 = CR1 + "GAGAGAGA" + "TGACTGCATGCAATCGGCTAACGTGCTACG" + "CACACACACA" + CR3 + "ACACAC" + CR4;
// S3: CR1 and the variable tail of template T3.
inline const std::string S3 = CR1 + "CGAAAAAAAA";
// S4: nothing of any template.
inline const std::string S4 = "TCTCTAGAGCTCTCATGAGCATGCTAGTCATGACTCAGTGA";
inline const std::vector<std::string> kSeqNames = {"S1", "S2", "S3", "S4"};
// An entry of 250 bases.
inline const std::string kLong250 = std::string(125, 'C') + std::string(125, 'T');

class UiTest : public ::testing::Test {
protected:
    TempDir prog;  // the program's directory: settings and help files
    TempDir data;  // the user's files
    RecordingMessenger msgs;
    std::unique_ptr<Application> app;

    // Starts the program with these settings files beside it (none where null).
    void StartProgram(const char* params = kParamsFile, const char* options = kOptionsFile) {
        if (params) prog.Write("VarigapParams.txt", params);
        if (options) prog.Write("VarigapOptions.txt", options);
        app = std::make_unique<Application>(msgs, prog.Path(), data.Path());
        app->Start();
    }
    FVarigapMainMenu& Main() { return app->MainMenu(); }

    // The template file t.tpl with its variable region files and the sequence file s.fasta.
    void WriteAnalysisFiles() {
        data.Write("t.tpl", "# test templates\r\n>Grass T1\r\n" + CR1 + "\r\n\"vr1.txt\"\r\n" + CR2 +
                                "\r\n\"vr2.txt\"\r\n" + CR3 + "\r\n\"vr3.txt\"\r\n" + CR4 + "\r\n>Other T2\r\n" + CR1 +
                                "\r\n\"vr1.txt\"\r\n" + CR4 + "\r\n>Tail T3\r\n" + CR1 + "\r\n\"vr4.txt\"\r\n");
        data.Write("vr1.txt",
                   "AAGGTT>Festuca rubra<\r\nAAGGTTCC>Poa annua<\r\nCCCCGGGG>Briza media<\r\n"
                   "CC GG CC GG 12>Lolium perenne<\r\n# a comment\r\n" +
                       kLong250 +
                       ">Bromus<\r\n"
                       "ACG\r\nTTAC>Multi\r\nline taxa<\r\n");
        data.Write("vr2.txt", "TTTT>t-a<\r\nTTTTTTTT>t-b<\r\nGCGC>t-c<\r\n");
        data.Write("vr3.txt", "ACACAC>Festuca<\r\n>Poa deletion<\r\n>Second deletion<\r\n");
        data.Write("vr4.txt", "AAAA>e1<\r\nNGAAAAAAAA>e2<\r\n");
        data.Write("s.fasta", ">S1\r\n" + S1 + "\r\n>S2\r\n" + S2 + "\r\n>S3\r\n" + S3 + "\r\n>S4\r\n" + S4 + "\r\n");
    }
    // Started, with both files loaded.
    void StartWithAnalysisFiles() {
        WriteAnalysisFiles();
        StartProgram();
        LoadTemplateFile("t.tpl");
        LoadSequenceFile("s.fasta");
    }
    void Analyze(const std::string& seqName) {
        ChooseSequence(seqName);
        Main().butFindTemplate.UserClick();
    }
    // Started with both files loaded and the sequence analysed.
    void StartAnalyzed(const std::string& seqName = "S1") {
        StartWithAnalysisFiles();
        Analyze(seqName);
    }
    // The template chosen in the box to the right, then Change Template.
    void ChangeTemplate(const std::string& name) {
        Main().cbxTemplates.UserSelect(IndexOf(Main().cbxTemplates, name));
        Main().butSelectTemplate.UserClick();
    }
    State& St() { return app->st; }
    std::vector<std::string> Texts() const { return msgs.Texts(); }

    static int IndexOf(const ItemList& list, const std::string& item) {
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.List(i) == item) return i;
        ADD_FAILURE() << "no item " << item;
        return -1;
    }

    // Files > Load Templates, double click on the file (the chooser shows the data directory).
    void LoadTemplateFile(const std::string& name) {
        Main().menuLoadTemplate.UserClick();
        FLoadTemplate& w = app->LoadTemplate();
        w.File1.UserDoubleClickItem(IndexOf(w.File1, name));
    }
    // Files > Load Sequences, double click on the file.
    void LoadSequenceFile(const std::string& name) {
        Main().menuLoadSequences.UserClick();
        FLoadSequence& w = app->LoadSequence();
        w.File1.UserDoubleClickItem(IndexOf(w.File1, name));
    }
    // Drive 1 cannot be read: chosen, or entered with Enter, the drive of the data directory stays.
    void ExpectUnreadableDriveIgnored(DriveList& drive, DirList& dir) {
        drive.UserChoose(1);
        EXPECT_EQ(drive.Drive() + " " + dir.Path(), "/ " + data.Path());
        drive.UserHighlight(1);
        drive.UserPressKey(kKeyEnter);
        EXPECT_EQ(drive.Drive() + " " + dir.Path(), "/ " + data.Path());
    }
    void ChooseSequence(const std::string& name) { Main().cbxSequences.UserSelect(IndexOf(Main().cbxSequences, name)); }
    std::vector<std::string> Lines() const { return app->MainMenu().lstSeq.Items(); }
    void SelectLine(int i) { Main().lstSeq.UserClickItem(i); }
};

}  // namespace varigap::ui::test

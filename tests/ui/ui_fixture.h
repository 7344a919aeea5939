// The program with its windows on real files in temporary directories, driven as a user
// drives it; message boxes are recorded.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "support/golden.h"
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
                   "AAGGTT>Festuca rubra<\r\nAAGGTTCC>Poa annua<\r\nCCCCGGGG>Briza media<\r\nCC GG CC GG 12>Lolium "
                   "perenne<\r\n# a comment\r\n" +
                       kLong250 + ">Bromus<\r\nACG\r\nTTAC>Multi\r\nline taxa<\r\n");
        data.Write("vr2.txt", "TTTT>t-a<\r\nTTTTTTTT>t-b<\r\nGCGC>t-c<\r\n");
        data.Write("vr3.txt", "ACACAC>Festuca<\r\n>Poa deletion<\r\n>Second deletion<\r\n");
        data.Write("vr4.txt", "AAAA>e1<\r\nNGAAAAAAAA>e2<\r\n");
        data.Write("s.fasta", ">S1\r\n" + S1 + "\r\n>S2\r\n" + S2 + "\r\n>S3\r\n" + S3 + "\r\n>S4\r\n" + S4 + "\r\n");
    }
    void Analyze(const std::string& seqName) {
        ChooseSequence(seqName);
        Main().butFindTemplate.UserClick();
    }
    // Started with both files loaded and `seqName` analysed.
    void StartAnalyzed(const std::string& seqName = "S1") {
        WriteAnalysisFiles();
        StartProgram();
        LoadTemplateFile("t.tpl");
        LoadSequenceFile("s.fasta");
        Analyze(seqName);
    }
    State& St() { return app->st; }

    // A story's transcript: after each step, what changed on the screen since the step before
    // ("Window" its state, "Window.control" what the control shows; controls of shown windows
    // only) and the messages shown.
    void Step(const std::string& what) {
        story_ += "== " + what + "\n";
        std::vector<Window*> windows{&Main()};
        if (app->Created("FLoadTemplate")) windows.push_back(&app->LoadTemplate());
        if (app->Created("FLoadSequence")) windows.push_back(&app->LoadSequence());
        if (app->Created("FAnalyzeVRs")) windows.push_back(&app->AnalyzeVRs());
        if (app->Created("FVarigapParameters")) windows.push_back(&app->Parameters());
        if (app->Created("FVarigapOptions")) windows.push_back(&app->Options());
        if (app->Created("FWriteOutputFile")) windows.push_back(&app->WriteOutput());
        if (app->Created("FHelp")) windows.push_back(&app->Help());
        for (Window* w : windows) {
            Show(w->Name(), std::string(w->Visible() ? "shown" : "hidden") + (w->IsActive() ? ", active" : "") +
                                (w->MousePointer() == kPointerDefault ? "" : ", hourglass"));
            if (!w->Visible()) continue;
            for (const Control* c : w->Controls()) {
                auto* b = dynamic_cast<const CommandButton*>(c);
                const std::string key =
                    w->Name() + "." + c->Name() + (b && b->Index() >= 0 ? "(" + std::to_string(b->Index()) + ")" : "");
                if (auto* l = dynamic_cast<const ListControl*>(c); l && c->Visible()) {
                    std::string items = "[";
                    for (int i = 0; i < std::min(l->ListCount(), 12); ++i) items += (i ? ", " : "") + l->List(i);
                    if (l->ListCount() > 12) items += ", ... " + std::to_string(l->ListCount()) + " items";
                    auto* d = dynamic_cast<const DirList*>(c);
                    Show(key + " items", (d ? d->Path() + " " : "") + items + "]");
                }
                Show(key, Shows(*c));
            }
        }
        for (; logged_ < msgs.shown.size(); ++logged_)
            story_ += "message: " + msgs.shown[logged_].title + ": " + msgs.shown[logged_].text + "\n";
    }
    // Compares the transcript with tests/ui/golden/`name`, the directories shown as DATA and PROG.
    void ExpectStory(const std::string& name) {
        for (auto [dir, shown] : {std::pair{data.Path(), "DATA"}, {prog.Path(), "PROG"}})
            for (size_t at; (at = story_.find(dir)) != std::string::npos;) story_.replace(at, dir.size(), shown);
        varigap::test::ExpectGolden("tests/ui/golden/" + name, story_);
    }

private:
    // What a control shows, as one line: its caption, text, check, or selected item; whether it is
    // hidden, disabled or has the focus, and its tool tip once that is no longer the first.
    std::string Shows(const Control& c) {
        if (!c.Visible()) return "hidden";
        std::vector<std::string> parts;
        if (auto* l = dynamic_cast<const Label*>(&c)) parts.push_back("\"" + l->Caption() + "\"");
        if (auto* t = dynamic_cast<const TextBox*>(&c))
            parts.push_back(t->Text().size() > 300 ? std::to_string(t->Text().size()) + " characters"
                                                   : "\"" + t->Text() + "\"");
        if (auto* k = dynamic_cast<const CheckBox*>(&c))
            parts.push_back(k->Value() == 0 ? "[ ]" : k->Value() == 1 ? "[x]" : "[-]");
        if (auto* o = dynamic_cast<const OptionButton*>(&c)) parts.push_back(o->Value() ? "(o)" : "( )");
        if (auto* l = dynamic_cast<const ListControl*>(&c))
            parts.push_back(l->ListIndex() >= 0 ? ">" + l->Text()
                            : l->Text().empty() ? "none selected"
                                                : "\"" + l->Text() + "\" typed");
        if (!c.Enabled()) parts.push_back("disabled");
        if (c.HasFocus()) parts.push_back("focus");
        auto first = firstTips_.emplace(&c, c.ToolTipText()).first;
        if (first->second != c.ToolTipText()) parts.push_back("tip \"" + c.ToolTipText() + "\"");
        std::string s;
        for (const auto& p : parts) s += (s.empty() ? "" : ", ") + p;
        return s.empty() ? "shown" : s;
    }
    // Logs a line that changed; a new one only when it says more than that it is there.
    void Show(const std::string& key, const std::string& shows) {
        auto [it, isNew] = shown_.emplace(key, shows);
        if (!isNew && it->second == shows) return;
        it->second = shows;
        if (!isNew || (shows != "shown" && shows != "hidden" && shows != "\"\"" && shows != "none selected" &&
                       !shows.ends_with("[]")))
            story_ += key + ": " + shows + "\n";
    }
    std::string story_;
    std::map<std::string, std::string> shown_;
    std::map<const Control*, std::string> firstTips_;
    size_t logged_ = 0;

protected:
    static int IndexOf(const ItemList& list, const std::string& item) {
        auto items = list.Items();
        EXPECT_NE(std::find(items.begin(), items.end(), item), items.end()) << item;
        return static_cast<int>(std::find(items.begin(), items.end(), item) - items.begin());
    }

    // Files > Load Templates or Load Sequences, double click on the file (the chooser shows the data directory).
    void LoadTemplateFile(const std::string& name) { LoadFile(Main().menuLoadTemplate, app->LoadTemplate(), name); }
    void LoadSequenceFile(const std::string& name) { LoadFile(Main().menuLoadSequences, app->LoadSequence(), name); }
    void LoadFile(MenuItem& menu, FileChooser& w, const std::string& name) {
        menu.UserClick();
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

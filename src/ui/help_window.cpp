// The help window.
#include "ui/help_window.h"

#include "core/messages.h"
#include "core/strings.h"
#include "settings/locations.h"
#include "ui/application.h"

namespace varigap::ui {

FHelp::FHelp(Application& app) : Window(app.desktop, "FHelp"), session_(app.session) {
    SetCaption("Varigap Help File");
    closeOnEscape = true;
    const char* captions[kNumChapters] = {"&Contents", "&Files",  "&Using",     "&Algorithms",
                                          "&Problems", "&trnL-F", "&Other Uses"};
    for (int i = 0; i < kNumChapters; ++i) {
        butChapter[i].SetCaption(captions[i]);
        butChapter[i].Click.Connect([this, i] { butChapter_Click(i); });
    }
    txbxHelp.multiLine = true;
    FormLoad.Connect([this] { Form_Load(); });
}

void FHelp::InitializeHelpFileNames() {
    for (int i = 0; i < kNumChapters; ++i) helpFileNames[i] = "VarigapHelp" + Str(i) + ".txt";
}

void FHelp::Form_Load() {
    InitializeHelpFileNames();
    actChapter = 0;
    ShowHelpChapter();
}

void FHelp::butChapter_Click(int index) {
    if (index < 0 || index >= kNumChapters) return;
    actChapter = index;
    ShowHelpChapter();
    txbxHelp.SetFocus();
}

void FHelp::ShowHelpChapter() {
    TextReader file;
    try {
        const std::string& name = helpFileNames[actChapter];
        if (OpenInputFile(session_, file, DataFileDirectory(session_, name), name, "Varigap Help File")) {
            CopyHelpFileToTextBox(file);
            file.Close();
        } else {
            txbxHelp.SetText("Error: help file " + helpFileNames[actChapter] + " not found.");
        }
    } catch (...) {
        txbxHelp.SetText("Error loading help file.");
        file.Close();
    }
}

void FHelp::CopyHelpFileToTextBox(TextReader& file) {
    if (file.Length() < kMaxHelpFileLength + 1) txbxHelp.SetText(file.ReadRest());
    else txbxHelp.SetText("Error: help file is too long to fit in this text box.");
}

}  // namespace varigap::ui

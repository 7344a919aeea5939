// The template and sequence file choosers.
#include "ui/file_choosers.h"

#include "core/messages.h"
#include "input/sequence_reader.h"
#include "input/template_reader.h"
#include "ui/application.h"
#include "ui/main_menu.h"

namespace varigap::ui {

// The button is a member of the derived window, constructed after this base: only its
// address is kept here, and its events are connected by the derived window.
FileChooser::FileChooser(Application& app, const std::string& name, CommandButton& loadButton)
    : Window(app.desktop, name), app_(app), st_(app.st), loadButton_(loadButton) {
    FormLoad.Connect([this] { Form_Load(); });
    FormActivate.Connect([this] { Form_Activate(); });
    Drive1.Change.Connect([this] { Drive1_Change(); });
    Drive1.KeyPress.Connect([this](int k) { Drive1_KeyPress(k); });
    Dir1.Change.Connect([this] { Dir1_Change(); });
    Dir1.KeyPress.Connect([this](int k) { Dir1_KeyPress(k); });
    File1.GotFocus.Connect([this] { File1_GotFocus(); });
    File1.DblClick.Connect([this] { File1_DblClick(); });
    File1.KeyPress.Connect([this](int k) { File1_KeyPress(k); });
}

// A chooser opens where the last directory was chosen; hidden, it keeps its place.
void FileChooser::Form_Load() {
    if (!Dir1.Path().empty()) return;
    Drive1.SetDrives(app_.drives);
    Drive1.RestoreDrive(Drive1.DriveOf(app_.currentDirectory));
    Dir1.SetPath(app_.currentDirectory);
    if (File1.Path().empty()) File1.SetPath(Dir1.Path());
}

void FileChooser::Form_Activate() { Dir1.SetFocus(); }

void FileChooser::Drive1_Change() {
    try {
        Dir1.SetPath(Drive1.Drive());
    } catch (const RunTimeError&) {
        // A root that cannot be read: back to the drive of the directory shown, silently.
        Drive1.RestoreDrive(Drive1.DriveOf(Dir1.Path()));
    }
}

void FileChooser::Drive1_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) Drive1.ChooseHighlighted();
}

void FileChooser::Dir1_Change() {
    app_.currentDirectory = Dir1.Path();
    File1.SetPath(Dir1.Path());
}

void FileChooser::Dir1_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) Dir1.OpenHighlighted();
}

void FileChooser::File1_GotFocus() {
    if (File1.ListIndex() < 0 && File1.ListCount() > 0) File1.SetListIndex(0);
}

void FileChooser::File1_DblClick() { loadButton_.Click(); }

void FileChooser::File1_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) File1_DblClick();
}

// ---------------------------------------------------------------- templates

FLoadTemplate::FLoadTemplate(Application& app) : FileChooser(app, "FLoadTemplate", LoadTemplateButton) {
    SetCaption("Varigap: Load Template");
    LoadTemplateButton.SetCaption("&Load Template");
    LoadTemplateButton.SetToolTipText("Process the file which contains the template of the region to be analyzed.");
    LoadTemplateButton.Click.Connect([this] { LoadTemplateButton_Click(); });
    LoadTemplateButton.KeyPress.Connect([this](int k) { LoadTemplateButton_KeyPress(k); });
}

void FLoadTemplate::LoadTemplateButton_Click() {
    try {
        st_.templateFileName = File1.FileName();
        st_.templateFilePath = File1.Path();
        st_.vrFilePath = File1.Path();
        if (LoadTemplateFile(st_)) {
            app_.MainMenu().SetRefindTemplate();
            Hide();
        }
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
        app_.MainMenu().SetRefindTemplate();
    }
}

void FLoadTemplate::LoadTemplateButton_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) LoadTemplateButton_Click();
}

// ---------------------------------------------------------------- sequences

FLoadSequence::FLoadSequence(Application& app) : FileChooser(app, "FLoadSequence", LoadSequenceButton) {
    SetCaption("Varigap: Load Sequence");
    LoadSequenceButton.SetCaption("&Load Sequences");
    LoadSequenceButton.SetToolTipText("Process the file which contains the sequences to be analyzed.");
    LoadSequenceButton.Click.Connect([this] { LoadSequenceButton_Click(); });
    LoadSequenceButton.KeyPress.Connect([this](int k) { LoadSequenceButton_KeyPress(k); });
}

void FLoadSequence::LoadSequenceButton_Click() {
    FVarigapMainMenu& main = app_.MainMenu();
    try {
        main.SetNoSeq();
        st_.sequenceFileName = File1.FileName();
        st_.sequenceFilePath = File1.Path();
        LoadSequenceFile(st_, main.cbxSequences);
        main.SetRefindTemplate();
        Hide();
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
        main.SetRefindTemplate();
        Hide();
    }
}

void FLoadSequence::LoadSequenceButton_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) LoadSequenceButton_Click();
}

}  // namespace varigap::ui

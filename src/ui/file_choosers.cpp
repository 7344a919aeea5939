// The template and sequence file choosers.
#include "ui/file_choosers.h"

#include <algorithm>
#include <filesystem>

#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "input/sequence_reader.h"
#include "input/template_reader.h"
#include "ui/application.h"
#include "ui/main_menu.h"

namespace fs = std::filesystem;

namespace varigap::ui {

// The button is a member of the derived window, constructed after this base: only its
// address is kept here, and its events are connected by the derived window.
FileChooser::FileChooser(Application& app, const std::string& name, CommandButton& loadButton)
    : Window(app.desktop, name), app_(app), session_(app.session), st_(app.st), loadButton_(loadButton) {
    FormLoad.Connect([this] { Form_Load(); });
    FormActivate.Connect([this] { Form_Activate(); });
    Drive1.Change.Connect([this] { Drive1_Change(); });
    Drive1.KeyPress.Connect([this](int k) { Drive1_KeyPress(k); });
    Dir1.Change.Connect([this] { Dir1_Change(); });
    Dir1.KeyPress.Connect([this](int k) { Dir1_KeyPress(k); });
    File1.GotFocus.Connect([this] { File1_GotFocus(); });
    File1.DblClick.Connect([this] { File1_DblClick(); });
    File1.KeyPress.Connect([this](int k) { File1_KeyPress(k); });
    txbxPath.SetToolTipText(
        "Type a folder or a file (a path, or a name in the folder shown) and press Enter; the first letters of a name "
        "highlight it in the list.");
    txbxPath.Change.Connect([this] { txbxPath_Change(); });
    txbxPath.KeyPress.Connect([this](int k) { txbxPath_KeyPress(k); });
    closeOnEscape = true;
}

// A chooser opens where the last directory was chosen; hidden, it keeps its place.
void FileChooser::Form_Load() {
    if (!Dir1.Path().empty()) return;
    Drive1.SetDrives(app_.drives);
    const std::string start = app_.StartFolder(Name());
    Drive1.RestoreDrive(Drive1.DriveOf(start));
    Dir1.SetPath(start);
    if (File1.Path().empty()) File1.SetPath(Dir1.Path());
}

// Files written since the window was last shown are listed; the highlighted one stays so.
void FileChooser::Form_Activate() {
    if (!Dir1.Path().empty()) {
        std::string keep = File1.FileName();
        try {
            Dir1.Refresh();
            File1.Refresh();
        } catch (const RunTimeError&) {
            // The directory went away: the lists stay as they were.
        }
        if (!keep.empty()) File1.SetText(keep);
    }
    Dir1.SetFocus();
}

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
    app_.lastFolder[Name()] = Dir1.Path();
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

bool FileChooser::GoToDirectory(const std::string& path) {
    try {
        Dir1.SetPath(path);
    } catch (const RunTimeError&) {
        return false;
    }
    Drive1.RestoreDrive(Drive1.DriveOf(Dir1.Path()));
    return true;
}

bool FileChooser::GoToFile(const std::string& path) {
    const fs::path p(path);
    if (!GoToDirectory(p.parent_path().string())) return false;
    const auto& files = File1.Items();
    auto f = std::find(files.begin(), files.end(), p.filename().string());
    if (f == files.end()) return false;
    File1.SetListIndex(static_cast<int>(f - files.begin()));
    return true;
}

void FileChooser::txbxPath_Change() {
    const std::string& typed = txbxPath.Text();
    if (typed.empty() || typed.find('/') != std::string::npos) return;
    for (int i = 0; i < File1.ListCount(); ++i)
        if (ToUpper(File1.List(i)).rfind(ToUpper(typed), 0) == 0) {
            File1.SetListIndex(i);
            return;
        }
    File1.SetListIndex(-1);  // Enter must not load a file highlighted before
}

void FileChooser::txbxPath_KeyPress(int keyAscii) {
    if (keyAscii != kKeyEnter || txbxPath.Text().empty()) return;
    const std::string typed = txbxPath.Text();
    const std::string full = typed[0] == '/' ? typed : FullPath(Dir1.Path(), typed);
    std::error_code ec;
    if (fs::is_directory(full, ec)) {
        if (GoToDirectory(full)) txbxPath.SetText("");
    } else if (fs::is_regular_file(full, ec) ? GoToFile(NormalDirectory(full)) : File1.ListIndex() >= 0) {
        txbxPath.SetText("");
        loadButton_.Click();
    }
}

bool FileChooser::OpenPath(const std::string& path, std::string& problem) {
    std::error_code ec;
    fs::path full = fs::absolute(path, ec);
    if (ec || !fs::is_regular_file(full, ec)) {
        problem = "No such file: " + path;
        return false;
    }
    // The window is not shown for a file handed over (on the command line, dropped, recent): the
    // keyboard stays with the main window. It opens only where a failed read leaves it open.
    bool listed = false;
    RunUserAction([&] {
        Load();
        listed = GoToFile(NormalDirectory(full.string()));
        if (!listed) return;
        keepOpen_ = false;
        loadButton_.Click();
        if (keepOpen_) Show();
    });
    if (!listed) problem = "The file window does not list " + path;
    return listed;
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
    bool reads = false;
    keepOpen_ = true;
    try {
        session_.templateFileName = File1.FileName();
        session_.templateFilePath = File1.Path();
        session_.vrFilePath = File1.Path();
        const std::string path = FullPath(session_.templateFilePath, session_.templateFileName);
        // A file that is there is read: the template table changes, success or not.
        reads = !session_.templateFileName.empty() && FileExists(path);
        if (LoadTemplateFile(session_)) {
            app_.MainMenu().SetRefindTemplate();
            if (reads) app_.MainMenu().TemplateFileRead(true);
            keepOpen_ = false;
            Hide();
            if (reads) app_.FileLoaded(FileKind::Templates, path);
        } else if (reads) {
            app_.MainMenu().TemplateFileRead(false);
        }
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
        app_.MainMenu().SetRefindTemplate();
        if (reads) app_.MainMenu().TemplateFileRead(false);
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

namespace {

// What was passed over in a file whose records were read: the first problems and how many.
std::string PassedOver(const std::vector<std::string>& problems) {
    std::string text;
    for (size_t i = 0; i < problems.size() && i < 3; ++i) text += problems[i] + "\n";
    if (problems.size() > 3) text += "... and " + Str(static_cast<long>(problems.size() - 3)) + " more.";
    return text;
}

}  // namespace

void FLoadSequence::LoadSequenceButton_Click() {
    FVarigapMainMenu& main = app_.MainMenu();
    main.SetNoSeq();
    const std::string wasName = session_.sequenceFileName, wasPath = session_.sequenceFilePath;
    session_.sequenceFileName = File1.FileName();
    session_.sequenceFilePath = File1.Path();
    const std::string path = FullPath(session_.sequenceFilePath, session_.sequenceFileName);
    bool read = false;
    if (!session_.sequenceFileName.empty()) {
        // Read aside first: a file that cannot be read leaves the list as it was.
        SequenceRecords records;
        std::string error;
        read = records.Read(path, error);
        if (read) {
            app_.records = std::move(records);
            main.cbxSequences.SetItems(app_.records.names);
            if (main.cbxSequences.ListCount() >= 1) main.cbxSequences.SetListIndex(0);
            if (!app_.records.problems.empty()) MsgBox(st_, PassedOver(app_.records.problems));
        } else {
            MsgBox(st_, error);
            session_.sequenceFileName = wasName;
            session_.sequenceFilePath = wasPath;
        }
    }
    main.SetRefindTemplate();
    main.SequenceFileRead();
    Hide();
    if (read) app_.FileLoaded(FileKind::Sequences, path);
}

void FLoadSequence::LoadSequenceButton_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) LoadSequenceButton_Click();
}

}  // namespace varigap::ui

// The output window.
#include "ui/write_output_file.h"

#include <filesystem>

#include "core/messages.h"
#include "core/textfile.h"
#include "engine/read_analysis.h"
#include "output/output_file.h"
#include "ui/application.h"
#include "ui/main_menu.h"

namespace varigap::ui {

FWriteOutputFile::FWriteOutputFile(Application& app)
    : Window(app.desktop, "FWriteOutputFile"), app_(app), session_(app.session), st_(app.st) {
    SetCaption("Varigap: Write Output File");
    closeOnEscape = true;
    chkIncludeSpeciesLists.SetCaption("Include Variable Region Data");
    chkIncludeSpeciesLists.SetToolTipText(
        "If the box is checked, the output file will contain the information (species list for Poaceae trnL-F) "
        "corresponding to each variable region.");
    txbxFileName.SetToolTipText("Type the name of the file here.");
    butWriteOutputFile.SetCaption("&Write Output File");
    butWriteOutputFile.SetToolTipText("Write the sequence in the Analyzed Sequence window to a text file.");
    lblFileName.SetCaption("Enter name of file here. ");
    lblStatus.SetToolTipText("Why nothing can be written");
    lblStatus.SetVisible(false);

    FormLoad.Connect([this] { Form_Load(); });
    FormActivate.Connect([this] { Form_Activate(); });
    Drive1.Change.Connect([this] { Drive1_Change(); });
    Dir1.Change.Connect([this] { Dir1_Change(); });
    Drive1.KeyPress.Connect([this](int k) { Drive1_KeyPress(k); });
    Dir1.KeyPress.Connect([this](int k) { Dir1_KeyPress(k); });
    txbxFileName.KeyPress.Connect([this](int k) { txbxFileName_KeyPress(k); });
    butWriteOutputFile.KeyPress.Connect([this](int k) { butWriteOutputFile_KeyPress(k); });
    butWriteOutputFile.Click.Connect([this] { butWriteOutputFile_Click(); });
}

void FWriteOutputFile::SuggestFileName(const std::string& suggestion) { outFileName = suggestion; }

// The lists start where the file choosers last were.
void FWriteOutputFile::Form_Load() {
    if (!Dir1.Path().empty()) return;
    Drive1.SetDrives(app_.drives);
    const std::string start = app_.StartFolder(Name());
    Drive1.RestoreDrive(Drive1.DriveOf(start));
    Dir1.SetPath(start);
}

namespace {

const char* const kNoAnalysis =
    "No analysis is shown in the main window, so there is nothing to write: choose a sequence and press Find "
    "Template first.";

}  // namespace

void FWriteOutputFile::ShowStatus(const std::string& text) {
    lblStatus.SetCaption(text);
    lblStatus.SetVisible(!text.empty());
}

std::string FWriteOutputFile::WhyNothingToWrite() const {
    const FVarigapMainMenu& main = app_.MainMenu();
    if (!main.AnalysisShown()) return kNoAnalysis;
    const ReadResult r = CurrentResult(st_, main.AnalysedComplement());
    const std::string why = WhyNothingToAnnotate(st_, r);
    if (why.empty()) return "";
    return "Nothing to write for this sequence: " + why + ". " +
           (r.matched ? std::string("The main window says what was found.")
                      : std::string(r.reverse ? "If it was read in its own direction, choose \"Forward strand\""
                                              : "If it was read in reverse, choose \"Reverse (complement)\"") +
                            " in the Strand box (or \"Auto\") and press Find Template again.");
}

void FWriteOutputFile::Form_Activate() {
    ShowStatus(WhyNothingToWrite());
    txbxFileName.SetFocus();
    txbxFileName.SetText(outFileName);
    if (!outDirPath.empty()) Dir1.SetPath(outDirPath);
    if (!outDrive.empty()) Drive1.SetDrive(outDrive);
}

void FWriteOutputFile::Drive1_Change() {
    std::string previous = outDrive;
    outDrive = Drive1.Drive();
    try {
        Dir1.SetPath(Drive1.Drive());
    } catch (const RunTimeError&) {
        // A root that cannot be read: the list goes back to the drive of the directory shown.
        outDrive = previous;
        Drive1.RestoreDrive(Drive1.DriveOf(Dir1.Path()));
    }
}

void FWriteOutputFile::Dir1_Change() {
    outDirPath = Dir1.Path();
    app_.lastFolder[Name()] = outDirPath;
}

void FWriteOutputFile::Drive1_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) Drive1.ChooseHighlighted();
}

void FWriteOutputFile::Dir1_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) Dir1.OpenHighlighted();
}

void FWriteOutputFile::txbxFileName_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) butWriteOutputFile_Click();
}

void FWriteOutputFile::butWriteOutputFile_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter) butWriteOutputFile_Click();
}

// Why `path` could not be written, in words that point at what to mend.
std::string FWriteOutputFile::WhyUnwritable(const std::string& path, const RunTimeError& e) {
    std::error_code ec;
    const std::string dir = std::filesystem::path(path).parent_path().string();
    if (std::filesystem::is_directory(path, ec)) return "a folder has that name. Choose another name.";
    if (!std::filesystem::is_directory(dir, ec))
        return "the folder " + dir + " does not exist. Choose a folder that does.";
    switch (e.Number()) {
        case kErrPermissionDenied: return "the folder " + dir + " may not be written to. Choose another folder.";
        case kErrDiskFull: return "the disk is full.";
        default: return e.Description() + ".";
    }
}

void FWriteOutputFile::butWriteOutputFile_Click() {
    std::string target;  // the file the user asked for, named in a failure
    try {
        outFileName = txbxFileName.Text();
        target = !outFileName.empty() && outFileName[0] == '/' ? outFileName : FullPath(Dir1.Path(), outFileName);
        // A typed path writes into its directory (relative to the one shown), which the list then shows.
        if (size_t slash = outFileName.rfind('/'); slash != std::string::npos) {
            std::string dir = outFileName.substr(0, slash + 1);
            Dir1.SetPath(dir[0] == '/' ? dir : FullPath(Dir1.Path(), dir));
            Drive1.RestoreDrive(Drive1.DriveOf(Dir1.Path()));
            outFileName.erase(0, slash + 1);
            txbxFileName.SetText(outFileName);
        }
        outDirPath = Dir1.Path();
        if (WriteOutputFile()) Hide();
    } catch (const RunTimeError& e) {
        // Said whatever the run-time error option: the user can mend the name or the folder.
        MsgBox(st_, "Output file " + target + " could not be written: " + WhyUnwritable(target, e),
               "Varigap: Write Output File", MsgIcon::Exclamation);
    } catch (...) {
        ReportRunTimeError(st_, std::current_exception());
    }
}

bool FWriteOutputFile::WriteOutputFile() {
    if (outFileName.empty()) return false;
    const FVarigapMainMenu& main = app_.MainMenu();
    if (const std::string why = WhyNothingToWrite(); !why.empty()) {
        ShowStatus(why);
        return false;
    }
    std::string fullName = FullPath(outDirPath, outFileName);
    if (FileExists(fullName) && Ask(st_, "Output File " + fullName + " already exists.\r\nDo you want to overwrite it?",
                                    "Varigap", MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    TextWriter out;
    out.Open(fullName);
    WriteOutputFileText(st_, CurrentResult(st_, main.AnalysedComplement()), out, outFileName, main.GetActSeqName(),
                        chkIncludeSpeciesLists.Value() == 1);
    out.Commit();
    MsgBox(st_, "Output file \"" + outFileName + "\" has been written.");
    return true;
}

}  // namespace varigap::ui

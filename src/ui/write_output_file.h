// The output window: file name, directory and the taxa option; writes the analysis shown.
#pragma once

#include <string>

#include "core/state.h"
#include "ui/controls.h"
#include "ui/file_controls.h"

namespace varigap::ui {

class Application;

class FWriteOutputFile : public Window {
public:
    explicit FWriteOutputFile(Application& app);

    // ---- controls
    CheckBox chkIncludeSpeciesLists{*this, "chkIncludeSpeciesLists"};
    TextBox txbxFileName{*this, "txbxFileName"};
    DriveList Drive1{*this, "Drive1"};
    DirList Dir1{*this, "Dir1"};
    CommandButton butWriteOutputFile{*this, "butWriteOutputFile"};
    Label lblFileName{*this, "lblFileName"};
    // Added to the window: why nothing can be written.
    Label lblStatus{*this, "lblStatus"};

    // ---- public operations
    void SuggestFileName(const std::string& suggestion);
    // Asks before replacing a file, writes and says so; true when the file was written. Without
    // an analysis shown in the main window, or of one that placed no region, nothing is written,
    // and the window says why.
    bool WriteOutputFile();

    // ---- event handlers
    void Form_Load();
    void Form_Activate();
    void Drive1_Change();
    void Dir1_Change();
    void Drive1_KeyPress(int keyAscii);
    void Dir1_KeyPress(int keyAscii);
    void txbxFileName_KeyPress(int keyAscii);
    void butWriteOutputFile_KeyPress(int keyAscii);
    void butWriteOutputFile_Click();

    const std::string& OutFileName() const { return outFileName; }
    const std::string& OutDirPath() const { return outDirPath; }
    const std::string& OutDrive() const { return outDrive; }

private:
    void ShowStatus(const std::string& text);
    // Why nothing can be written: no analysis shown, or one that placed nothing; "" when a file can be.
    std::string WhyNothingToWrite() const;
    static std::string WhyUnwritable(const std::string& path, const RunTimeError& e);

    Application& app_;
    Session& session_;
    State& st_;
    std::string outFileName;
    std::string outDirPath;
    std::string outDrive;
};

}  // namespace varigap::ui

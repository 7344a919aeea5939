// The two file choosers: a drive list, a directory list, a file list and one button that hands
// the highlighted file to its reader.
#pragma once

#include <string>

#include "core/state.h"
#include "ui/controls.h"
#include "ui/file_controls.h"

namespace varigap::ui {

class Application;

// What both choosers share: the lists and their events.
class FileChooser : public Window {
public:
    DriveList Drive1{*this, "Drive1"};
    DirList Dir1{*this, "Dir1"};
    FileList File1{*this, "File1"};
    // Added to the three lists: a path or a file name typed; Enter goes to a directory or
    // loads a file, and a name's first letters highlight the first file that begins so.
    TextBox txbxPath{*this, "txbxPath"};

    void Form_Load();
    void Form_Activate();
    void Drive1_Change();
    void Drive1_KeyPress(int keyAscii);
    void Dir1_Change();
    void Dir1_KeyPress(int keyAscii);
    void File1_GotFocus();
    void File1_DblClick();
    void File1_KeyPress(int keyAscii);
    void txbxPath_Change();
    void txbxPath_KeyPress(int keyAscii);

    // Runs the Load button's steps on `path`, the lists on its directory with the file
    // highlighted. The window is shown only when the read leaves it open (a template file that
    // could not be read). False, with `problem` in words, when the file is not there.
    bool OpenPath(const std::string& path, std::string& problem);

protected:
    FileChooser(Application& app, const std::string& name, CommandButton& loadButton);
    virtual void LoadButtonClick() = 0;
    // Goes to the directory of the file `path` and highlights it; false when it is not listed.
    bool GoToFile(const std::string& path);
    // Goes to a directory (and the drive that holds it); false when it cannot be read.
    bool GoToDirectory(const std::string& path);

    Application& app_;
    Session& session_;
    State& st_;
    bool keepOpen_ = false;  // the last Load click left the window open (a failed read)

private:
    CommandButton& loadButton_;
};

class FLoadTemplate : public FileChooser {
public:
    explicit FLoadTemplate(Application& app);
    CommandButton LoadTemplateButton{*this, "LoadTemplateButton"};
    void LoadTemplateButton_Click();
    void LoadTemplateButton_KeyPress(int keyAscii);

protected:
    void LoadButtonClick() override { LoadTemplateButton_Click(); }
};

class FLoadSequence : public FileChooser {
public:
    explicit FLoadSequence(Application& app);
    CommandButton LoadSequenceButton{*this, "LoadSequenceButton"};
    void LoadSequenceButton_Click();
    void LoadSequenceButton_KeyPress(int keyAscii);

protected:
    void LoadButtonClick() override { LoadSequenceButton_Click(); }
};

}  // namespace varigap::ui

// The help window: seven chapters, each a text file beside the program, shown unchanged.
#pragma once

#include <string>

#include "core/state.h"
#include "core/textfile.h"
#include "ui/controls.h"

namespace varigap::ui {

class Application;

class FHelp : public Window {
public:
    static constexpr int kNumChapters = 7;
    static constexpr long long kMaxHelpFileLength = 32000;

    explicit FHelp(Application& app);

    // ---- controls
    ControlArray<CommandButton> butChapter{*this, "butChapter", kNumChapters};
    TextBox txbxHelp{*this, "txbxHelp"};

    // ---- operations
    void InitializeHelpFileNames();
    void CopyHelpFileToTextBox(TextReader& file);

    // ---- event handlers
    void Form_Load();
    void butChapter_Click(int index);

    Integer ActChapter() const { return actChapter; }
    const std::string& HelpFileName(int index) const { return helpFileNames[index]; }

private:
    void ShowHelpChapter();

    Session& session_;
    Table<std::string, kNumChapters - 1> helpFileNames;
    Integer actChapter;
};

}  // namespace varigap::ui

// A check of an installed or copied program: help chapters found, settings saved.
#include "gui/install_check.h"

#include "core/messages.h"
#include "gui/program.h"
#include "gui/screenshots.h"
#include "settings/locations.h"
#include "settings/settings_files.h"
#include "ui/help_window.h"
#include "ui/main_menu.h"
#include "ui/options_dialog.h"

namespace varigap::gui {

int CheckInstall(Program& program, std::ostream& out) {
    AnswerUnattended(program);
    ui::Application& app = program.App();
    const Session& session = app.session;
    int status = 0;

    app.MainMenu().butHelp.UserClick();
    ui::FHelp& help = app.Help();
    for (int i = 0; i < ui::FHelp::kNumChapters; ++i) {
        help.butChapter[i].UserClick();
        const std::string& name = help.HelpFileName(i);
        bool shown = help.txbxHelp.Text().rfind("Error", 0) != 0;
        out << "help chapter " << i << ": "
            << (shown ? FindFileIgnoringCase(DataFileDirectory(session, name), name) : help.txbxHelp.Text()) << "\n";
        if (!shown) status = 1;
    }
    help.Hide();

    size_t messages = program.Messages().shown.size();
    app.MainMenu().menuOptions.UserClick();
    app.Options().butSave.UserClick();
    std::string saved = FullPath(SettingsSaveDirectory(session), kOptionsFileName);
    bool ok = program.Messages().shown.size() == messages && FileExists(saved);
    out << "options saved: " << (ok ? saved : "failed") << "\n";
    if (!ok) status = 1;
    return status;
}

}  // namespace varigap::gui

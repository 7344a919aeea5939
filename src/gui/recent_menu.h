// The "Recent files" list of the Files menu: the last files loaded, kept in the Qt settings, each
// loaded again through its file window.
#pragma once

#include <QObject>

#include "ui/application.h"
#include "ui/recent_files.h"

class QAction;
class QMenu;

namespace varigap::gui {

class RecentMenu : public QObject {
public:
    // Adds the list to `filesMenu` before `before` (at the end when null), read from the settings.
    RecentMenu(ui::Application& app, QMenu* filesMenu, QAction* before);

    QMenu* Menu() const { return menu_; }
    // A file was loaded: it goes first, in the menu and in the settings.
    void Add(ui::FileKind kind, const std::string& path);

private:
    void Rebuild();

    ui::Application& app_;
    QMenu* menu_;
    ui::RecentFiles files_;
};

}  // namespace varigap::gui

// The recently loaded files in the Files menu.
#include "gui/recent_menu.h"

#include <QMenu>
#include <QSettings>
#include <QStringList>

#include "core/messages.h"
#include "gui/fonts.h"

namespace varigap::gui {

namespace {

constexpr const char* kSettingsKey = "recentFiles";

}  // namespace

RecentMenu::RecentMenu(ui::Application& app, QMenu* filesMenu, QAction* before)
    : QObject(filesMenu), app_(app), menu_(new QMenu("&Recent Files", filesMenu)) {
    menu_->setObjectName("menuRecentFiles");
    filesMenu->insertMenu(before, menu_);
    filesMenu->insertSeparator(before);
    std::vector<std::string> lines;
    for (const QString& l : QSettings().value(kSettingsKey).toStringList()) lines.push_back(FromQt(l));
    files_.Restore(lines);
    Rebuild();
}

void RecentMenu::Add(ui::FileKind kind, const std::string& path) {
    files_.Add(kind, path);
    QStringList lines;
    for (const std::string& l : files_.Save()) lines << ToQt(l);
    QSettings().setValue(kSettingsKey, lines);
    // Later: the entry chosen may be the one whose action is running now.
    QMetaObject::invokeMethod(
        this, [this] { Rebuild(); }, Qt::QueuedConnection);
}

void RecentMenu::Rebuild() {
    menu_->clear();
    const auto& entries = files_.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        QAction* a = menu_->addAction(ToQt(files_.Caption(i)));
        a->setToolTip(ToQt(entries[i].path));
        a->setStatusTip(ToQt(entries[i].path));
        ui::RecentFile entry = entries[i];
        connect(a, &QAction::triggered, this, [this, entry] {
            std::string problem;
            if (!app_.OpenFile(entry.kind, entry.path, problem) && !problem.empty()) MsgBox(app_.st, problem);
        });
    }
    menu_->setEnabled(!entries.empty());
    menu_->setToolTipsVisible(true);
}

}  // namespace varigap::gui

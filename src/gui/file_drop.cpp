// Dropping files on the main window.
#include "gui/file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "core/messages.h"
#include "gui/fonts.h"

namespace varigap::gui {

namespace {

// The local files a drag carries; none when it carries anything else.
std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        paths.push_back(FromQt(url.toLocalFile()));
    }
    return paths;
}

}  // namespace

FileDrop::FileDrop(ui::Application& app, QWidget* target) : QObject(target), app_(app) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

void FileDrop::Load(const std::vector<std::string>& paths) {
    std::vector<std::pair<ui::FileKind, std::string>> files;
    for (const std::string& p : paths) files.emplace_back(ui::KindOfFile(p), p);
    // Templates first: a sequence file dropped with them is then analysed against them.
    std::stable_sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return a.first == ui::FileKind::Templates && b.first != ui::FileKind::Templates;
    });
    for (const auto& [kind, path] : files) {
        std::string problem;
        if (!app_.OpenFile(kind, path, problem) && !problem.empty()) MsgBox(app_.st, problem);
    }
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter) {
        auto* e = static_cast<QDragEnterEvent*>(event);
        if (!LocalFiles(e->mimeData()).empty()) e->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* e = static_cast<QDropEvent*>(event);
        std::vector<std::string> paths = LocalFiles(e->mimeData());
        if (paths.empty()) return true;
        e->acceptProposedAction();
        Load(paths);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace varigap::gui

// Windows as the last session left them.
#include "gui/window_memory.h"

#include <QSettings>
#include <QSplitter>
#include <QWidget>

#include "gui/fonts.h"
#include "gui/program.h"
#include "gui/window_view.h"

namespace varigap::gui {

namespace {

QString Key(const WindowView* v, const char* what) { return "windows/" + ToQt(v->Model().Name()) + "/" + what; }

}  // namespace

void RestoreWindows(Program& program) {
    QSettings settings;
    for (WindowView* v : program.Views()) {
        const QByteArray geometry = settings.value(Key(v, "geometry")).toByteArray();
        if (!geometry.isEmpty()) v->TopLevel()->restoreGeometry(geometry);  // kept on a screen by Qt
        const QVariantList states = settings.value(Key(v, "splitters")).toList();
        const auto splitters = v->TopLevel()->findChildren<QSplitter*>();
        for (qsizetype i = 0; i < splitters.size() && i < states.size(); ++i)
            splitters[i]->restoreState(states[i].toByteArray());
    }
    settings.beginGroup("folders");
    for (const QString& window : settings.childKeys())
        program.App().lastFolder[FromQt(window)] = FromQt(settings.value(window).toString());
}

void SaveWindows(Program& program) {
    QSettings settings;
    for (WindowView* v : program.Views()) {
        settings.setValue(Key(v, "geometry"), v->TopLevel()->saveGeometry());
        QVariantList states;
        for (QSplitter* s : v->TopLevel()->findChildren<QSplitter*>()) states << s->saveState();
        settings.setValue(Key(v, "splitters"), states);
    }
    for (const auto& [window, folder] : program.App().lastFolder)
        settings.setValue("folders/" + ToQt(window), ToQt(folder));
}

}  // namespace varigap::gui

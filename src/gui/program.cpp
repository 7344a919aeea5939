// The desktop program.
#include "gui/program.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QStorageInfo>
#include <QTimer>
#include <algorithm>

#include "core/messages.h"
#include "gui/analysis_strip.h"
#include "gui/control_views.h"
#include "gui/file_drop.h"
#include "gui/fonts.h"
#include "gui/layouts.h"
#include "gui/picture_export.h"
#include "gui/recent_menu.h"
#include "gui/window_memory.h"
#include "gui/window_view.h"
#include "ui/analyze_all.h"
#include "ui/analyze_vrs.h"
#include "ui/file_choosers.h"
#include "ui/help_window.h"
#include "ui/main_menu.h"
#include "ui/options_dialog.h"
#include "ui/parameters_dialog.h"
#include "ui/write_output_file.h"

namespace varigap::gui {

std::vector<std::string> MountedDrives() {
    std::vector<std::string> drives{"/"};
    auto add = [&drives](const std::string& root) {
        if (!root.empty() && std::find(drives.begin(), drives.end(), root) == drives.end()) drives.push_back(root);
    };
    add(FromQt(QDir::homePath()));
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady()) continue;
        QString root = v.rootPath();
        // Media and partitions a user mounts, not the system's own file systems.
        for (const char* place : {"/media/", "/mnt/", "/run/media/", "/home/"})
            if (root.startsWith(place)) add(FromQt(root));
    }
    return drives;
}

Program::Program(const std::string& programDir, const std::string& startDirectory) {
    app_ = std::make_unique<ui::Application>(messenger_, programDir, startDirectory);
    app_->drives = MountedDrives();
    // Every window object exists from the start, so that each has its view; the logic still
    // loads and shows each one when it is first used.
    ui::Application& a = *app_;
    main_.reset(static_cast<QMainWindow*>(MakeTopLevel(nullptr)));
    LayOut(Draw(a.MainMenu(), main_.get(), HintsFor(a.MainMenu())), a.MainMenu(), a.st);
    LayOut(Draw(a.LoadTemplate()), a.LoadTemplate());
    LayOut(Draw(a.LoadSequence()), a.LoadSequence());
    LayOut(Draw(a.AnalyzeVRs(), nullptr, HintsFor(a.AnalyzeVRs())), a.AnalyzeVRs());
    LayOut(Draw(a.WriteOutput(), nullptr, HintsFor(a.WriteOutput())), a.WriteOutput());
    LayOut(Draw(a.Help()), a.Help());
    LayOut(Draw(a.Parameters()), a.Parameters());
    LayOut(Draw(a.Options()), a.Options());
    LayOut(Draw(a.AnalyzeAll()), a.AnalyzeAll());
    // A whole run goes on its own thread; what it did is taken here, between the user's actions.
    auto* poll = new QTimer(main_.get());
    QObject::connect(poll, &QTimer::timeout, main_.get(), [this] {
        ui::FAnalyzeAll& w = app_->AnalyzeAll();
        w.RunUserAction([&w] { w.Poll(); });
    });
    poll->start(100);
    // Beside the windows of the logic: the recent files, and files dropped on the main window.
    WindowView& mainView = *View(a.MainMenu());
    QMenu* files = mainView.Action(a.MainMenu().menuFile)->menu();
    recent_ = new RecentMenu(a, files, mainView.Action(a.MainMenu().menuQuit));
    a.FileLoaded.Connect([this](ui::FileKind kind, const std::string& path) {
        if (recent_) recent_->Add(kind, path);
    });
    drop_ = new FileDrop(a, main_.get());
    // Files > Export Picture: the strip and the lines as PNG or SVG.
    auto* picture = new QAction("Export &Picture...", files);
    picture->setToolTip("Saves the strip and every line of the analysis shown as a PNG picture or an SVG drawing");
    files->insertAction(mainView.Action(a.MainMenu().menuQuit), picture);
    QObject::connect(picture, &QAction::triggered, main_.get(), [this] {
        QString path = QFileDialog::getSaveFileName(main_.get(), "Export Picture", ToQt(app_->currentDirectory),
                                                    "PNG picture (*.png);;SVG drawing (*.svg)");
        if (path.isEmpty()) return;
        if (QFileInfo(path).suffix().isEmpty()) path += ".png";
        QStringList lines;
        for (const std::string& l : app_->MainMenu().lstSeq.Items()) lines << ToQt(l);
        QString error;
        if (!ExportPicture(*Strip(), lines, path, error)) MsgBox(app_->st, FromQt(error));
    });
    messenger_.parent = [this]() -> QWidget* {
        QWidget* active = QApplication::activeWindow();
        return active ? active : main_.get();
    };
    RestoreWindows(*this);
    mainSubscription_ = app_->MainMenu().Subscribe([this] {
        if (!started_ || endReported_ || app_->Running()) return;
        endReported_ = true;
        context_.programEnded = true;
        if (ended) ended();
    });
}

WindowView& Program::Draw(ui::Window& window, QWidget* top, const WindowHints& hints) {
    auto* view = new WindowView(window, top ? top : MakeTopLevel(main_.get()), context_, hints);
    views_.push_back(view);
    return *view;
}

Program::~Program() {
    SaveWindows(*this);
    app_->MainMenu().Unsubscribe(mainSubscription_);
    recent_ = nullptr;
    context_.programEnded = true;
    SyncGuard guard(context_);  // focus moving while the widgets go away is not the user's
    main_.reset();
}

void Program::Start() {
    started_ = true;
    app_->Start();
}

bool Program::LoadFiles(const std::string& templateFile, const std::string& sequenceFile, std::string& problem) {
    if (!app_->OpenFile(ui::FileKind::Templates, templateFile, problem)) return false;
    if (app_->LoadTemplate().Visible() || app_->st.session.numTemplates < 1) {
        problem = "The template file was not loaded: " + templateFile;
        return false;
    }
    if (!app_->OpenFile(ui::FileKind::Sequences, sequenceFile, problem)) return false;
    if (app_->MainMenu().cbxSequences.ListCount() < 1) {
        problem = "The sequence file lists no sequence: " + sequenceFile;
        return false;
    }
    return true;
}

WindowView* Program::View(const ui::Window& window) const {
    for (WindowView* v : views_)
        if (&v->Model() == &window) return v;
    return nullptr;
}

QMainWindow* Program::MainWindow() const { return main_.get(); }

AnalysisStrip* Program::Strip() const { return main_->findChild<AnalysisStrip*>(); }

}  // namespace varigap::gui

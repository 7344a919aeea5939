// The desktop program.
#include "gui/program.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QStorageInfo>
#include <algorithm>
#include <filesystem>

#include "gui/analysis_strip.h"
#include "gui/control_views.h"
#include "gui/fonts.h"
#include "gui/layouts.h"
#include "gui/window_view.h"
#include "ui/analyze_vrs.h"
#include "ui/file_choosers.h"
#include "ui/help_window.h"
#include "ui/main_menu.h"
#include "ui/options_dialog.h"
#include "ui/parameters_dialog.h"
#include "ui/write_output_file.h"

namespace fs = std::filesystem;

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
    LayOut(Draw(a.WriteOutput()), a.WriteOutput());
    LayOut(Draw(a.Help()), a.Help());
    LayOut(Draw(a.Parameters()), a.Parameters());
    LayOut(Draw(a.Options()), a.Options());
    messenger_.parent = [this]() -> QWidget* {
        QWidget* active = QApplication::activeWindow();
        return active ? active : main_.get();
    };
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
    app_->MainMenu().Unsubscribe(mainSubscription_);
    context_.programEnded = true;
    SyncGuard guard(context_);  // focus moving while the widgets go away is not the user's
    main_.reset();
}

void Program::Start() {
    started_ = true;
    app_->Start();
}

namespace {

bool LoadThroughChooser(ui::FileChooser& chooser, ui::MenuItem& menu, ui::CommandButton& button,
                        const std::string& file, std::string& problem) {
    std::error_code ec;
    fs::path path = fs::absolute(file, ec);
    if (ec || !fs::is_regular_file(path, ec)) {
        problem = "No such file: " + file;
        return false;
    }
    std::string dir = path.parent_path().string();
    std::string name = path.filename().string();
    menu.UserClick();
    if (!chooser.Visible()) {
        problem = "The file window did not open for " + file;
        return false;
    }
    std::string drive = chooser.Drive1.DriveOf(dir);
    const auto& drives = chooser.Drive1.Items();
    auto d = std::find(drives.begin(), drives.end(), drive);
    if (d != drives.end() && chooser.Drive1.Drive() != drive)
        chooser.Drive1.UserChoose(static_cast<int>(d - drives.begin()));
    chooser.Dir1.UserOpenPath(dir);
    const auto& files = chooser.File1.Items();
    auto f = std::find(files.begin(), files.end(), name);
    if (chooser.File1.Path() != ui::NormalDirectory(dir) || f == files.end()) {
        problem = "The file window does not list " + file;
        return false;
    }
    chooser.File1.UserClickItem(static_cast<int>(f - files.begin()));
    button.UserClick();
    return true;
}

}  // namespace

bool Program::LoadFiles(const std::string& templateFile, const std::string& sequenceFile, std::string& problem) {
    ui::FVarigapMainMenu& main = app_->MainMenu();
    ui::FLoadTemplate& templates = app_->LoadTemplate();
    if (!LoadThroughChooser(templates, main.menuLoadTemplate, templates.LoadTemplateButton, templateFile, problem))
        return false;
    if (templates.Visible() || app_->st.numTemplates < 1) {
        problem = "The template file was not loaded: " + templateFile;
        return false;
    }
    ui::FLoadSequence& sequences = app_->LoadSequence();
    if (!LoadThroughChooser(sequences, main.menuLoadSequences, sequences.LoadSequenceButton, sequenceFile, problem))
        return false;
    if (main.cbxSequences.ListCount() < 1) {
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

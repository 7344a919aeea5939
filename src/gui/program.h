// The desktop program: the windows' logic (ui::Application) drawn by Qt. Every window of the
// logic gets its view when the program is made; the logic decides when each is shown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/control_views.h"
#include "gui/messenger.h"
#include "ui/application.h"

class QMainWindow;
class QWidget;

namespace varigap::gui {

class AnalysisStrip;
class FileDrop;
class RecentMenu;
class WindowView;

class Program {
public:
    // `programDir` holds the settings and help files; the file windows open in `startDirectory`
    // (the working directory when empty).
    explicit Program(const std::string& programDir, const std::string& startDirectory = "");
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    ui::Application& App() { return *app_; }
    QtMessenger& Messages() { return messenger_; }

    // Shows the main window; the start-up runs in its load event.
    void Start();
    // Loads a template file and a sequence file through the two file windows, as the user
    // does it (menu, drive, directory, file, button). False, with `problem` said in words,
    // when a file is missing or was not loaded.
    bool LoadFiles(const std::string& templateFile, const std::string& sequenceFile, std::string& problem);

    // The view of a window of the program's logic, and the views of all of them.
    WindowView* View(const ui::Window& window) const;
    const std::vector<WindowView*>& Views() const { return views_; }
    QMainWindow* MainWindow() const;
    AnalysisStrip* Strip() const;
    RecentMenu* Recent() const { return recent_; }
    FileDrop* Drop() const { return drop_; }

    // Called once, when closing the main window has ended the program.
    std::function<void()> ended;

private:
    // Makes the view of `window` in `top` (a new secondary window when null).
    WindowView& Draw(ui::Window& window, QWidget* top = nullptr, const WindowHints& hints = {});

    ViewContext context_;  // first in, last out: every view refers to it
    QtMessenger messenger_;
    std::unique_ptr<ui::Application> app_;
    std::unique_ptr<QMainWindow> main_;
    std::vector<WindowView*> views_;  // owned by their top-level widgets
    RecentMenu* recent_ = nullptr;    // owned by the Files menu
    FileDrop* drop_ = nullptr;        // owned by the main window
    int mainSubscription_ = 0;
    bool started_ = false;
    bool endReported_ = false;
};

// The roots the drive lists offer: the file system, the home folder and mounted media.
std::vector<std::string> MountedDrives();

}  // namespace varigap::gui

// The program's windows and data.
#include "ui/application.h"

#include <filesystem>

#include "ui/analyze_all.h"
#include "ui/analyze_vrs.h"
#include "ui/file_choosers.h"
#include "ui/file_controls.h"
#include "ui/help_window.h"
#include "ui/main_menu.h"
#include "ui/options_dialog.h"
#include "ui/parameters_dialog.h"
#include "ui/write_output_file.h"

namespace varigap::ui {

Application::Application(Messenger& messenger, const std::string& programDir, const std::string& startDirectory)
    : currentDirectory(NormalDirectory(startDirectory)) {
    session.messenger = &messenger;
    st.messenger = &messenger;
    session.programDir = programDir;
}

// Secondary windows go first; the main window, which they refer to, last.
Application::~Application() {
    analyzeVRs_.reset();
    help_.reset();
    writeOutput_.reset();
    loadTemplate_.reset();
    loadSequence_.reset();
    parameters_.reset();
    options_.reset();
    analyzeAll_.reset();
    main_.reset();
}

template <class W>
W& Application::Get(std::unique_ptr<W>& slot) {
    if (!slot) {
        slot = std::make_unique<W>(*this);
        slot->SetErrorHandler([this](std::exception_ptr e) { ReportError(e); });
    }
    return *slot;
}

FVarigapMainMenu& Application::MainMenu() { return Get(main_); }
FAnalyzeVRs& Application::AnalyzeVRs() { return Get(analyzeVRs_); }
FHelp& Application::Help() { return Get(help_); }
FWriteOutputFile& Application::WriteOutput() { return Get(writeOutput_); }
FLoadTemplate& Application::LoadTemplate() { return Get(loadTemplate_); }
FLoadSequence& Application::LoadSequence() { return Get(loadSequence_); }
FVarigapParameters& Application::Parameters() { return Get(parameters_); }
FVarigapOptions& Application::Options() { return Get(options_); }
FAnalyzeAll& Application::AnalyzeAll() { return Get(analyzeAll_); }

bool Application::Created(const std::string& windowName) const {
    const Window* windows[] = {main_.get(),        analyzeVRs_.get(),   help_.get(),
                               writeOutput_.get(), loadTemplate_.get(), loadSequence_.get(),
                               parameters_.get(),  options_.get(),      analyzeAll_.get()};
    for (const Window* w : windows)
        if (w && w->Name() == windowName) return true;
    return false;
}

std::string Application::StartFolder(const std::string& windowName) const {
    auto it = lastFolder.find(windowName);
    std::error_code ec;
    return it != lastFolder.end() && std::filesystem::is_directory(it->second, ec) ? it->second : currentDirectory;
}

void Application::Start() {
    running_ = true;
    FVarigapMainMenu& main = MainMenu();
    main.RunUserAction([&main] { main.Show(); });
}

void Application::End() {
    if (!running_) return;
    running_ = false;
    Window* windows[] = {analyzeVRs_.get(),   help_.get(),         writeOutput_.get(),
                         loadTemplate_.get(), loadSequence_.get(), parameters_.get(),
                         options_.get(),      analyzeAll_.get(),   main_.get()};
    for (Window* w : windows)
        if (w) w->Hide();
}

bool Application::OpenFile(FileKind kind, const std::string& path, std::string& problem) {
    // Read on its own it would replace the templates loaded with nothing usable.
    if (kind == FileKind::VariableRegions) {
        problem = path +
                  " is a variable region file: it is read with the template file that names it. Load or drop that "
                  "template file (.tpl) instead; the files loaded are kept.";
        return false;
    }
    FileChooser& chooser = kind == FileKind::Templates ? static_cast<FileChooser&>(LoadTemplate()) : LoadSequence();
    return chooser.OpenPath(path, problem);
}

void Application::ReportError(std::exception_ptr e) { ReportRunTimeError(st, e); }

}  // namespace varigap::ui

// The program: its data, where its messages go, and its windows, each created on first use.
// Windows reach each other through it.
#pragma once

#include <exception>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/state.h"
#include "ui/controls.h"
#include "ui/file_kinds.h"
#include "ui/sequence_records.h"

namespace varigap::ui {

class FVarigapMainMenu;
class FAnalyzeVRs;
class FHelp;
class FWriteOutputFile;
class FLoadTemplate;
class FLoadSequence;
class FVarigapParameters;
class FVarigapOptions;
class FAnalyzeAll;

class Application {
public:
    // `programDir` holds the settings and help files. The file windows start in
    // `startDirectory` (the working directory when empty).
    Application(Messenger& messenger, const std::string& programDir, const std::string& startDirectory = "");
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Session session;    // settings, template table, file names: what the windows change
    State st{session};  // the sequence shown and its analysis
    Desktop desktop;
    // The directory the file choosers open in: the last one chosen in either of them.
    std::string currentDirectory;
    // The last folder of each file window (by window name), kept by the program between
    // sessions: a file window opens there when it still exists, else in currentDirectory.
    std::map<std::string, std::string> lastFolder;
    // Where file window `windowName` opens first.
    std::string StartFolder(const std::string& windowName) const;
    // The roots the drive lists offer.
    std::vector<std::string> drives{"/"};
    // The records of the sequence file loaded, as the sequence list lists them.
    SequenceRecords records;

    // Shows the main window; the start-up runs in its Form_Load.
    void Start();
    // False once the main window has been closed.
    bool Running() const { return running_; }
    // Ends the program: every window is hidden and nothing runs any more.
    void End();

    FVarigapMainMenu& MainMenu();
    FAnalyzeVRs& AnalyzeVRs();
    FHelp& Help();
    FWriteOutputFile& WriteOutput();
    FLoadTemplate& LoadTemplate();
    FLoadSequence& LoadSequence();
    FVarigapParameters& Parameters();
    FVarigapOptions& Options();
    FAnalyzeAll& AnalyzeAll();
    // Whether a window object exists yet (by its name, e.g. "FAnalyzeVRs").
    bool Created(const std::string& windowName) const;

    // Loads a file as its file window does it, the window opened on the file's directory with the
    // file highlighted. False, with `problem` said in words, when the file is not there or the
    // window did not take it (the window then stays open where a failed read leaves it). A variable
    // region file is refused with nothing read, so the templates loaded stay.
    bool OpenFile(FileKind kind, const std::string& path, std::string& problem);
    // Raised after a file window has read a file, with the file's full path.
    Event<FileKind, const std::string&> FileLoaded;

    // How a run-time error that escaped a user action is reported.
    void ReportError(std::exception_ptr e);

private:
    template <class W>
    W& Get(std::unique_ptr<W>& slot);

    std::unique_ptr<FVarigapMainMenu> main_;
    std::unique_ptr<FAnalyzeVRs> analyzeVRs_;
    std::unique_ptr<FHelp> help_;
    std::unique_ptr<FWriteOutputFile> writeOutput_;
    std::unique_ptr<FLoadTemplate> loadTemplate_;
    std::unique_ptr<FLoadSequence> loadSequence_;
    std::unique_ptr<FVarigapParameters> parameters_;
    std::unique_ptr<FVarigapOptions> options_;
    std::unique_ptr<FAnalyzeAll> analyzeAll_;
    bool running_ = false;
};

}  // namespace varigap::ui

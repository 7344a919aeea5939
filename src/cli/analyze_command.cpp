// varigap-cli analyze: start-up as the main window does it, then the batch.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include "cli/analysis.h"
#include "cli/batch.h"
#include "cli/cli_messenger.h"
#include "cli/commands.h"
#include "core/messages.h"
#include "core/textfile.h"
#include "engine/analysis.h"
#include "input/sequence_reader.h"
#include "input/template_reader.h"
#include "seqio/sequence_file.h"
#include "settings/locations.h"

namespace varigap::cli {

void SplitPath(const std::string& path, std::string& directory, std::string& name) {
    std::filesystem::path p(path);
    directory = p.parent_path().string();
    name = p.filename().string();
}

namespace {

// Whether `path` can be read as a sequence file, after a message when not. A pipe, a FIFO or a
// device (process substitution, "-") is read as a stream, untouched until the run reads it. A
// name found only without regard to letter case, as the main window finds files, becomes the
// name found.
bool CheckSequenceFile(State& st, std::string& path) {
    struct stat sb {};
    if (path == "-" || (::stat(path.c_str(), &sb) == 0 && !S_ISREG(sb.st_mode) && !S_ISDIR(sb.st_mode))) return true;
    if (S_ISDIR(sb.st_mode)) {
        MsgBox(st, "Error: Varigap Sequence File \"" + path + "\" is a folder, not a file.");
        return false;
    }
    SplitPath(path, st.sequenceFilePath, st.sequenceFileName);
    TextReader file;
    if (!OpenSequenceFile(st, file)) return false;
    if (!FileExists(path)) path = FindFileIgnoringCase(st.sequenceFilePath, st.sequenceFileName);
    return true;
}

}  // namespace

int RunAnalyze(const AnalyzeOptions& opts) {
    auto loaded = std::make_unique<State>();
    State& st = *loaded;
    StderrMessenger msgs(opts.answerYes ? MsgAnswer::Yes : MsgAnswer::No);
    st.messenger = &msgs;
    st.programDir = ProgramDirectory();
    LocateInstalledFiles(st);

    // A settings file named on the command line must be there; the ones beside the program are
    // read when they are there and quietly replaced by the defaults when not.
    if (!StartUp(st, SettingsFiles{.params = opts.paramsFile, .options = opts.optionsFile, .reportMissing = false}))
        return kExitUsage;

    SplitPath(opts.templateFile, st.templateFilePath, st.templateFileName);
    st.vrFilePath = st.templateFilePath;
    bool read = false;
    // A run-time error part-way (out of memory, a failing disk) is the reader's to raise.
    Trapped(st, [&] { read = LoadTemplateFile(st); });
    if (!read) {
        MsgBox(st, "Template file \"" + opts.templateFile + "\" could not be loaded.");
        return kExitUsage;
    }
    if (st.numTemplates < 1) {
        MsgBox(st, "Template file \"" + opts.templateFile + "\" holds no template.");
        return kExitUsage;
    }
    BatchInput input;
    if (!opts.templateChoice.empty()) {
        input.settings.templateChoice = FindTemplateNumber(st, opts.templateChoice);
        if (input.settings.templateChoice == 0) {
            MsgBox(st, "Template file \"" + opts.templateFile + "\" has no template " + opts.templateChoice + ".");
            return kExitUsage;
        }
    }
    input.settings.orient = opts.orient;
    input.settings.primersTrimmed = opts.primersTrimmed;
    input.settings.reparse = opts.reparse;

    // Every sequence file must be there before anything is analysed.
    for (size_t i = 0; i < opts.sequenceFiles.size(); ++i) {
        std::string path = opts.sequenceFiles[i];
        if (!CheckSequenceFile(st, path)) return kExitUsage;
        input.files.push_back(path);
        input.samples.push_back(opts.samples[i].empty() ? seqio::SampleName(path) : opts.samples[i]);
    }

    if (!opts.outputDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(opts.outputDir, ec);  // a failure shows when writing
    }
    st.vrFilesFixed = true;    // one version of each variable region file for the whole run
    st.templatesFixed = true;  // and of the template table
    st.messenger = nullptr;    // every copy gets a messenger of its own
    const int status = RunBatch(st, opts, input);
    // The output files' names, published one by one, are made durable at once.
    if (!opts.outputDir.empty() && DirectoryExists(opts.outputDir))
        if (const int err = SynchroniseFolder(opts.outputDir)) {
            std::fprintf(stderr, "Varigap: Output folder %s could not be synchronised: %s.\n", opts.outputDir.c_str(),
                         std::strerror(err));
            return std::max(status, static_cast<int>(kExitFailed));
        }
    return status;
}

}  // namespace varigap::cli

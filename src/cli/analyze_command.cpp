// varigap-cli analyze: start-up as the main window does it, then the batch.
#include <filesystem>
#include <memory>
#include <thread>

#include "cli/analysis.h"
#include "cli/batch.h"
#include "cli/cli_messenger.h"
#include "cli/commands.h"
#include "core/item_list.h"
#include "core/messages.h"
#include "engine/analysis.h"
#include "input/sequence_reader.h"
#include "input/template_reader.h"
#include "settings/locations.h"

namespace varigap::cli {

void SplitPath(const std::string& path, std::string& directory, std::string& name) {
    std::filesystem::path p(path);
    directory = p.parent_path().string();
    name = p.filename().string();
}

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
        input.templateChoice = FindTemplateNumber(st, opts.templateChoice);
        if (input.templateChoice == 0) {
            MsgBox(st, "Template file \"" + opts.templateFile + "\" has no template " + opts.templateChoice + ".");
            return kExitUsage;
        }
    }

    SplitPath(opts.sequenceFile, st.sequenceFilePath, st.sequenceFileName);
    TextReader file;
    if (!OpenSequenceFile(st, file)) return kExitUsage;
    if (opts.sequences.empty()) {
        input.stream = &file;
    } else {
        ItemList names;
        if (!Trapped(st, [&] { ListSequenceNames(st, file, names); })) return kExitUsage;
        file.Close();
        for (int i = names.ListCount() - 1; i >= 0; --i) input.names[names.List(i)] = i + 1;  // the first of a name
    }

    if (!opts.outputDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(opts.outputDir, ec);  // a failure shows when writing
    }
    st.messenger = nullptr;  // every copy gets a messenger of its own
    return RunBatch(st, opts, input);
}

}  // namespace varigap::cli

// varigap-cli analyze: start-up as the main window does it, then the batch.
#include <filesystem>
#include <memory>
#include <thread>

#include "cli/analysis.h"
#include "cli/batch.h"
#include "cli/cli_messenger.h"
#include "cli/commands.h"
#include "core/complement.h"
#include "core/item_list.h"
#include "core/messages.h"
#include "engine/lpam.h"
#include "engine/ranking.h"
#include "input/sequence_reader.h"
#include "input/template_reader.h"
#include "settings/locations.h"
#include "settings/settings_files.h"

namespace varigap::cli {

void SplitPath(const std::string& path, std::string& directory, std::string& name) {
    std::filesystem::path p(path);
    directory = p.parent_path().string();
    name = p.filename().string();
}

namespace {

// A settings file given on the command line must be there; the ones the desktop program
// uses are read when they are there and silently replaced by the defaults when not.
bool LoadSettings(State& st, const AnalyzeOptions& opts) {
    bool ok = true;
    if (opts.paramsFile.empty()) {
        if (FindFileIgnoringCase(SettingsReadDirectory(st, kParamsFileName), kParamsFileName).empty())
            SetDefaultParameters(st);
        else LoadParameters(st);
    } else {
        std::string dir, name;
        SplitPath(opts.paramsFile, dir, name);
        LoadParametersFrom(st, dir, name);  // reports a missing file
        ok = ok && !FindFileIgnoringCase(dir, name).empty();
    }
    if (opts.optionsFile.empty()) {
        if (FindFileIgnoringCase(SettingsReadDirectory(st, kOptionsFileName), kOptionsFileName).empty())
            SetDefaultOptions(st);
        else LoadOptions(st);
    } else {
        std::string dir, name;
        SplitPath(opts.optionsFile, dir, name);
        LoadOptionsFrom(st, dir, name);
        ok = ok && !FindFileIgnoringCase(dir, name).empty();
    }
    return ok;
}

}  // namespace

int RunAnalyze(const AnalyzeOptions& opts) {
    auto loaded = std::make_unique<State>();
    State& st = *loaded;
    StderrMessenger msgs(opts.answerYes ? MsgAnswer::Yes : MsgAnswer::No);
    st.messenger = &msgs;
    st.programDir = ProgramDirectory();
    LocateInstalledFiles(st);

    // The main window's start-up order.
    if (!LoadSettings(st, opts)) return kExitUsage;
    InitializeGlobals(st);
    InitLPAM(st);
    InitMatchTemplate(st);
    InitializeComplement(st);

    SplitPath(opts.templateFile, st.templateFilePath, st.templateFileName);
    st.vrFilePath = st.templateFilePath;
    if (!LoadTemplateFile(st)) {
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
    if (!OpenInputFile(st, file, st.sequenceFilePath, st.sequenceFileName, "Varigap Sequence File")) return kExitUsage;
    if (opts.sequences.empty()) {
        input.stream = &file;
    } else {
        ItemList names;
        if (!Trapped(st, [&] { ListSequenceNames(st, file, names); })) return kExitUsage;
        file.Close();
        input.names.insert(names.Items().begin(), names.Items().end());
    }

    if (!opts.outputDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(opts.outputDir, ec);  // a failure shows when writing
    }
    st.messenger = nullptr;  // every copy gets a messenger of its own
    return RunBatch(st, opts, input);
}

}  // namespace varigap::cli

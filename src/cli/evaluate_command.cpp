// varigap-cli evaluate: how well a template file's variable region files tell taxa apart.
#include <cstdio>
#include <memory>

#include "cli/commands.h"
#include "cli/stdout_writer.h"
#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "engine/analysis.h"
#include "engine/evaluate.h"
#include "input/template_reader.h"
#include "run/job_messages.h"
#include "settings/locations.h"

namespace varigap::cli {

namespace {

std::string Percent(long n, long of) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f%%", of ? 100.0 * static_cast<double>(n) / static_cast<double>(of) : 0.0);
    return buf;
}

std::string Tsv(const Session& session, const std::vector<VRFileEvaluation>& files) {
    std::string out =
        "template\tvr\tfile\tvariants\tshared_variants\tsame_species\tsame_genus\twrong\tunidentified\tshared_taxa\n";
    for (const auto& e : files) {
        std::string shared;
        for (const auto& taxa : e.shared) shared += (shared.empty() ? "" : " | ") + taxa;
        out += ControlsAsBlanks(session.templateName[e.templateNum]) + "\t" + Str(e.vr) + "\t" +
               ControlsAsBlanks(e.file) + "\t" + Str(e.variants) + "\t" + Str(static_cast<long>(e.shared.size())) +
               "\t" + Str(e.sameSpecies) + "\t" + Str(e.sameGenus) + "\t" + Str(e.wrong) + "\t" + Str(e.unidentified) +
               "\t" + ControlsAsBlanks(shared) + "\n";
    }
    return out;
}

std::string Text(const std::vector<VRFileEvaluation>& files) {
    std::string out = "Leave-one-out: each variant removed and identified by its nearest listed variants.\n";
    char line[512];
    std::snprintf(line, sizeof line, "%-28s %8s %7s %12s %10s %7s %12s\n", "variable region file", "variants", "shared",
                  "same species", "same genus", "wrong", "unidentified");
    out += line;
    for (const auto& e : files) {
        std::snprintf(line, sizeof line, "%-28s %8ld %7zu %12s %10s %7s %12s\n", e.file.c_str(), e.variants,
                      e.shared.size(), Percent(e.sameSpecies, e.variants).c_str(),
                      Percent(e.sameGenus, e.variants).c_str(), Percent(e.wrong, e.variants).c_str(),
                      Percent(e.unidentified, e.variants).c_str());
        out += line;
    }
    return out;
}

}  // namespace

int RunEvaluate(const EvaluateOptions& opts) {
    auto loaded = std::make_unique<Session>();
    Session& session = *loaded;
    run::StderrMessenger msgs;
    session.messenger = &msgs;
    session.programDir = ProgramDirectory();
    LocateInstalledFiles(session);
    if (!StartUp(session, SettingsFiles{.params = opts.paramsFile, .options = "", .reportMissing = false}))
        return kExitInput;
    SplitPath(opts.templateFile, session.templateFilePath, session.templateFileName);
    session.vrFilePath = session.templateFilePath;
    bool read = false;
    Trapped(session, [&] { read = LoadTemplateFile(session); });
    if (!read || session.numTemplates < 1) {
        MsgBox(session, "Template file \"" + opts.templateFile + "\" could not be loaded.");
        return kExitInput;
    }
    session.vrFilesFixed = true;  // each variable region file read once
    auto job = std::make_unique<State>(session);
    std::vector<VRFileEvaluation> files;
    if (!Trapped(*job, [&] { files = EvaluateVRFiles(*job, opts.nearest); })) return kExitInput;
    return WriteStdout(opts.tsv ? Tsv(session, files) : Text(files)) && FlushStdout() ? kExitOk : kExitOutput;
}

}  // namespace varigap::cli

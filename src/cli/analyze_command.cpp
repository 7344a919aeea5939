// varigap-cli analyze: start-up as the main window does it, then the batch run, with standard
// output, messages and a progress bar on the terminal.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "cli/commands.h"
#include "cli/made_with.h"
#include "cli/sample_names.h"
#include "cli/stdout_writer.h"
#include "core/messages.h"
#include "core/strings.h"
#include "core/textfile.h"
#include "engine/analysis.h"
#include "engine/read_analysis.h"
#include "export/json.h"
#include "input/sequence_reader.h"
#include "input/template_reader.h"
#include "run/batch_run.h"
#include "run/job_messages.h"
#include "run/output_files.h"
#include "seqio/sequence_file.h"
#include "settings/locations.h"

namespace varigap::cli {

namespace {

// Standard output through the checked writer, messages on standard error, and a progress bar
// there while it is a terminal.
class Console : public run::RunConsole {
public:
    explicit Console(bool progress) : progress_(progress && isatty(STDERR_FILENO)), start_(Clock::now()) {}

    bool Out(std::string_view text) override { return WriteStdout(text); }

    void Err(std::string_view text) override {
        FlushStdout();
        ClearBar();
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    }

    void Progress(const run::RunProgress& p) override {
        if (!progress_) return;
        if (p.final) {
            if (!barShown_) return;
            DrawBar(p);
            std::fputs("\n", stderr);
            barShown_ = false;
            return;
        }
        const auto now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) || now - lastDraw_ < std::chrono::milliseconds(200)) return;
        DrawBar(p);
    }

    bool Finish() override { return FlushStdout(); }

private:
    using Clock = std::chrono::steady_clock;

    void ClearBar() {
        if (barShown_) std::fputs("\r\033[K", stderr);
    }

    void DrawBar(const run::RunProgress& p) {
        const auto now = Clock::now();
        lastDraw_ = now;
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        double frac = 1.0;
        if (!p.final) {
            if (p.total > 0) frac = static_cast<double>(p.records) / static_cast<double>(p.total);
            else if (p.totalBytes > 0)
                frac = std::min(0.99, static_cast<double>(p.bytes) / static_cast<double>(p.totalBytes));
            else frac = 0;
        }
        constexpr int kWidth = 30;
        const int filled = static_cast<int>(frac * kWidth);
        char line[160];
        std::snprintf(line, sizeof line, "\r\033[K[%s%s] %3d%%  %ld sequences, %.0f/s",
                      std::string(static_cast<size_t>(filled), '#').c_str(),
                      std::string(static_cast<size_t>(kWidth - filled), '.').c_str(), static_cast<int>(frac * 100),
                      p.records, elapsed > 0 ? static_cast<double>(p.records) / elapsed : 0.0);
        std::fputs(line, stderr);
        std::fflush(stderr);
        barShown_ = true;
    }

    bool progress_;
    bool barShown_ = false;
    Clock::time_point start_, lastDraw_{};
};

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// Nearest identification's settings, as the parameters record them (nothing in exact mode).
std::string NearestJson(const AnalyzeOptions& o) {
    const std::string rankBy = o.rankByVariants ? ", \"rank_by\": \"variants\"" : "";
    if (o.identify != Identify::Nearest) return rankBy;
    return rankBy + ", \"identify\": \"nearest\", \"max_diffs\": " +
           (o.nearest.maxDiffs == NearestBounds::kNoDiffsLimit ? std::string("null") : Str(o.nearest.maxDiffs)) +
           ", \"min_identity\": " + Number(o.nearest.minIdentity);
}

// The options and settings that made the results, as the summary records them.
std::string ParametersJson(const AnalyzeOptions& o, const Session& session) {
    std::string reparse;
    for (const auto& r : o.reparse) reparse += (reparse.empty() ? "" : " ") + Str(r.line) + ":" + Str(r.sel);
    const char* orient = o.orient == Orient::Auto ? "auto" : o.orient == Orient::Reverse ? "reverse" : "forward";
    using exports::JsonQuote;
    return "{\"template_file\": " + JsonQuote(o.templateFile) + ", \"template\": " + JsonQuote(o.templateChoice) +
           ", \"orient\": \"" + orient + "\", \"primers_trimmed\": " + (o.primersTrimmed ? "true" : "false") +
           ", \"reparse\": " + JsonQuote(reparse) + ", \"params_file\": " + JsonQuote(o.paramsFile) +
           ", \"options_file\": " + JsonQuote(o.optionsFile) +
           ", \"max_length_variation\": " + Str(session.maxLengthVariation) +
           ", \"word_length\": " + Str(session.wordLength) +
           ", \"std_acceptance_pct\": " + Number(session.stdAcceptancePct) +
           ", \"min_acceptance_pct\": " + Number(session.minAcceptancePct) +
           ", \"min_cr_length\": " + Str(session.minCRLength) +
           ", \"base_count_tolerance\": " + Str(session.baseCountTolerance) +
           (o.pairs         ? ", \"pairs\": \"files\""
            : o.interleaved ? ", \"pairs\": \"interleaved\""
                            : "") +
           NearestJson(o) + "}";
}

// The run the options ask for (files and samples are added by the caller).
run::RunSettings RunSettingsOf(const AnalyzeOptions& o, const Session& session) {
    run::RunSettings r;
    r.sequences = o.sequences;
    r.request.orient = o.orient;
    r.request.primersTrimmed = o.primersTrimmed;
    r.request.reparse = o.reparse;
    r.request.identify = o.identify;
    r.request.nearest = o.nearest;
    r.request.rankByVariants = o.rankByVariants;
    r.jobs = o.jobs;
    r.derep = o.derep;
    r.pairs = o.pairs ? run::PairInput::Files : o.interleaved ? run::PairInput::Interleaved : run::PairInput::None;
    r.answer = o.answerYes ? MsgAnswer::Yes : MsgAnswer::No;
    r.listing = exports::ListingSettings{o.format, o.ranking, o.orient == Orient::Auto, o.primersTrimmed,
                                         o.pairs || o.interleaved};
    r.listing.nearest = o.identify == Identify::Nearest;
    r.listing.rankByVariants = o.rankByVariants;
    r.force = o.force;
    r.outputDir = o.outputDir;
    r.taxa = o.taxa;
    r.extractDir = o.extractDir;
    r.extractUncertain = o.extractUncertain;
    r.extractEmpty = o.extractEmpty;
    r.countsFile = o.countsFile;
    r.summaryFile = o.summaryFile;
    r.distinctFile = o.distinctFile;
    r.countsBiom = o.countsBiom;
    r.reportFile = o.reportFile;
    r.multiqcFile = o.multiqcFile;
    r.commandLine = o.commandLine;
    r.parametersJson = ParametersJson(o, session);
    r.madeWith = RunMadeWith(session, o, exports::MakeCatalog(session, {}));
    r.listMadeWith = o.madeWith;
    return r;
}

}  // namespace

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
bool CheckSequenceFile(Session& session, std::string& path) {
    struct stat sb {};
    if (path == "-" || (::stat(path.c_str(), &sb) == 0 && !S_ISREG(sb.st_mode) && !S_ISDIR(sb.st_mode))) return true;
    if (S_ISDIR(sb.st_mode)) {
        MsgBox(session, "Error: Varigap Sequence File \"" + path + "\" is a folder, not a file.");
        return false;
    }
    SplitPath(path, session.sequenceFilePath, session.sequenceFileName);
    TextReader file;
    if (!OpenSequenceFile(session, file)) return false;
    if (!FileExists(path)) path = FindFileIgnoringCase(session.sequenceFilePath, session.sequenceFileName);
    return true;
}

}  // namespace

int RunAnalyze(const AnalyzeOptions& opts) {
    auto loaded = std::make_unique<Session>();
    Session& session = *loaded;
    run::StderrMessenger msgs(opts.answerYes ? MsgAnswer::Yes : MsgAnswer::No);
    session.messenger = &msgs;
    session.programDir = ProgramDirectory();
    LocateInstalledFiles(session);

    // A settings file named on the command line must be there; the ones beside the program are
    // read when they are there and quietly replaced by the defaults when not.
    if (!StartUp(session,
                 SettingsFiles{.params = opts.paramsFile, .options = opts.optionsFile, .reportMissing = false}))
        return kExitInput;

    SplitPath(opts.templateFile, session.templateFilePath, session.templateFileName);
    session.vrFilePath = session.templateFilePath;
    bool read = false;
    // A run-time error part-way (out of memory, a failing disk) is the reader's to raise.
    Trapped(session, [&] { read = LoadTemplateFile(session); });
    if (!read) {
        MsgBox(session, "Template file \"" + opts.templateFile + "\" could not be loaded.");
        return kExitInput;
    }
    if (session.numTemplates < 1) {
        MsgBox(session, "Template file \"" + opts.templateFile + "\" holds no template.");
        return kExitInput;
    }
    run::RunSettings input = RunSettingsOf(opts, session);
    if (!opts.templateChoice.empty()) {
        input.request.templateChoice = FindTemplateNumber(session, opts.templateChoice);
        if (input.request.templateChoice == 0) {
            MsgBox(session, "Template file \"" + opts.templateFile + "\" has no template " + opts.templateChoice + ".");
            return kExitUsage;
        }
    }

    // Every sequence file must be there before anything is analysed.
    for (size_t i = 0; i < opts.sequenceFiles.size(); ++i) {
        std::string path = opts.sequenceFiles[i];
        if (!CheckSequenceFile(session, path)) return kExitInput;
        input.files.push_back(path);
    }
    if (std::string error; !NameSamples(input.files, opts.samples, input.samples, error, opts.pairs)) {
        MsgBox(session, error);
        return kExitUsage;
    }

    if (std::string why; !opts.outputDir.empty() && !run::UsableOutputFolder(opts.outputDir, why)) {
        MsgBox(session, "Output folder \"" + opts.outputDir + "\" cannot be used: " + why + ".");
        return kExitUsage;
    }
    session.vrFilesFixed = true;    // one version of each variable region file for the whole run
    session.templatesFixed = true;  // and of the template table
    IndexTemplates(session);        // shared by every job
    session.messenger = nullptr;    // every job has a messenger of its own
    Console console(opts.progress);
    const int status = run::RunBatch(session, input, console);
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

// The outputs of an analyze run fed by its stream of analysed records.
#include "cli/run_outputs.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "cli/cli_messenger.h"
#include "cli/commands.h"
#include "cli/format.h"
#include "cli/made_with.h"
#include "core/strings.h"
#include "core/version.h"
#include "export/extract.h"
#include "export/features.h"
#include "export/json.h"
#include "export/made_with.h"
#include "export/publish.h"

namespace varigap::cli {

namespace {

std::vector<std::string> UniqueSamples(const std::vector<std::string>& samples) {
    std::vector<std::string> unique;
    for (const auto& s : samples)
        if (std::find(unique.begin(), unique.end(), s) == unique.end()) unique.push_back(s);
    return unique;
}

void Say(const std::string& text) { std::fputs(MessageLine(Message{"Varigap", text}).c_str(), stderr); }

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

}  // namespace

exports::Skip SkipOf(const seqio::ReadProblem& p) {
    using seqio::ProblemKind;
    switch (p.kind) {
        case ProblemKind::TooLong: return exports::Skip::TooLong;
        case ProblemKind::BadBase: return exports::Skip::BadLetters;
        case ProblemKind::NoPlusLine:
        case ProblemKind::QualityLength:
        case ProblemKind::BadQuality:
        case ProblemKind::NoHeader: return exports::Skip::Malformed;
        case ProblemKind::Binary: return p.record > 0 ? exports::Skip::Malformed : exports::Skip::None;
        default: return exports::Skip::None;  // the file as a whole
    }
}

bool RunOutputs::Wanted(const AnalyzeOptions& o) {
    return !o.extractDir.empty() || o.format == Format::Gff3 || o.format == Format::Bed || !o.countsFile.empty() ||
           !o.summaryFile.empty() || !o.distinctFile.empty() || (o.madeWith && o.format == Format::Tsv);
}

RunOutputs::RunOutputs(const State& loaded, const AnalyzeOptions& opts, const std::vector<std::string>& samples)
    : opts_(opts), catalog_(exports::MakeCatalog(loaded, UniqueSamples(samples))) {
    for (const auto& s : samples)
        sampleOfFile_.push_back(static_cast<size_t>(std::find(catalog_.samples.begin(), catalog_.samples.end(), s) -
                                                    catalog_.samples.begin()));
    if (!opts.extractDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(opts.extractDir, ec);  // a failure shows when writing
        ordered_.push_back(std::make_unique<exports::ExtractSink>(
            catalog_, exports::ExtractSettings{opts.extractDir, opts.extractUncertain, opts.extractEmpty, opts.force}));
    }
    if (opts.format == Format::Gff3) ordered_.push_back(std::make_unique<exports::Gff3Sink>(catalog_));
    if (opts.format == Format::Bed) ordered_.push_back(std::make_unique<exports::BedSink>(catalog_));
    summary_.program = "varigap-cli";
    summary_.version = VersionText();
    summary_.commandLine = opts.commandLine;
    summary_.parameters = ParametersJson(loaded);
    madeWith_ = counts_.madeWith = distinct_.madeWith = summary_.madeWith = RunMadeWith(loaded, opts, catalog_);
    for (const auto& s : catalog_.samples) summary_.Sample(s);
}

std::string RunOutputs::Header() const {
    if (opts_.format == Format::Tsv)
        return TsvHeader() + (opts_.madeWith ? exports::kMadeWithLine + madeWith_ + "\n" : std::string());
    return opts_.format == Format::Gff3 ? exports::kGff3Header : "";
}

std::unique_ptr<exports::Tally> RunOutputs::NewTally() const {
    const bool counts = !opts_.countsFile.empty(), summary = !opts_.summaryFile.empty();
    const bool distinct = summary || !opts_.distinctFile.empty();
    if (!counts && !distinct) return nullptr;
    return std::make_unique<exports::Tally>(catalog_, counts, distinct, summary);
}

void RunOutputs::AddTally(const exports::Tally& tally) {
    std::lock_guard lock(mutex_);
    tally.AddTo(counts_, distinct_, summary_);
}

void RunOutputs::Take(const exports::AnalysedRead& r, std::string& out, std::string& messages) {
    sinkMessages_.clear();
    for (auto& sink : ordered_) sink->Take(r, out, sinkMessages_);
    for (const auto& m : sinkMessages_) messages += MessageLine(Message{"Varigap", m});
}

int RunOutputs::Finish() {
    int status = kExitOk;
    sinkMessages_.clear();
    for (auto& sink : ordered_)
        if (!sink->Finish(sinkMessages_)) status = kExitFailed;
    for (const auto& m : sinkMessages_) Say(m);
    std::string message, error;
    auto publish = [&](const std::string& path, const std::function<void(TextWriter&)>& fill) {
        if (path.empty() || exports::Publish(path, opts_.force, fill, message)) return;
        Say(message);
        status = kExitFailed;
    };
    publish(opts_.countsFile, [&](TextWriter& out) { out.Write(counts_.Text()); });
    publish(opts_.distinctFile,
            [&](TextWriter& out) { distinct_.Write([&](const std::string& piece) { out.Write(piece); }); });
    if (!opts_.summaryFile.empty() && !summary_.TakeDistinct(distinct_, error)) Say(error);  // cannot happen
    publish(opts_.summaryFile, [&](TextWriter& out) { out.Write(summary_.Json()); });
    return status;
}

std::string RunOutputs::ParametersJson(const State& st) const {
    const AnalyzeOptions& o = opts_;
    std::string reparse;
    for (const auto& r : o.reparse) reparse += (reparse.empty() ? "" : " ") + Str(r.line) + ":" + Str(r.sel);
    const char* orient = o.orient == Orient::Auto ? "auto" : o.orient == Orient::Reverse ? "reverse" : "forward";
    using exports::JsonQuote;
    return "{\"template_file\": " + JsonQuote(o.templateFile) + ", \"template\": " + JsonQuote(o.templateChoice) +
           ", \"orient\": \"" + orient + "\", \"primers_trimmed\": " + (o.primersTrimmed ? "true" : "false") +
           ", \"reparse\": " + JsonQuote(reparse) + ", \"params_file\": " + JsonQuote(o.paramsFile) +
           ", \"options_file\": " + JsonQuote(o.optionsFile) +
           ", \"max_length_variation\": " + Str(st.maxLengthVariation) + ", \"word_length\": " + Str(st.wordLength) +
           ", \"std_acceptance_pct\": " + Number(st.stdAcceptancePct) +
           ", \"min_acceptance_pct\": " + Number(st.minAcceptancePct) + ", \"min_cr_length\": " + Str(st.minCRLength) +
           ", \"base_count_tolerance\": " + Str(st.baseCountTolerance) + "}";
}

}  // namespace varigap::cli

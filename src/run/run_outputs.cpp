// The outputs of an analyze run fed by its stream of analysed records.
#include "run/run_outputs.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "core/strings.h"
#include "core/version.h"
#include "export/extract.h"
#include "export/features.h"
#include "export/made_with.h"
#include "export/publish.h"
#include "run/job_messages.h"
#include "run/report_outputs.h"

namespace varigap::run {

namespace {

std::vector<std::string> UniqueSamples(const std::vector<std::string>& samples) {
    std::vector<std::string> unique;
    for (const auto& s : samples)
        if (std::find(unique.begin(), unique.end(), s) == unique.end()) unique.push_back(s);
    return unique;
}

// Only counted, the distinct reads are kept as hashes.
exports::DistinctTable::Keys DistinctKeys(const RunSettings& o) {
    return o.distinctFile.empty() ? exports::DistinctTable::Keys::Hashes : exports::DistinctTable::Keys::Bases;
}

// The caller's sink among the run's own: it stays the caller's.
class BorrowedSink : public exports::RecordSink {
public:
    explicit BorrowedSink(exports::RecordSink& sink) : sink_(sink) {}
    void Take(const exports::AnalysedRead& r, std::string& out, std::vector<std::string>& messages) override {
        sink_.Take(r, out, messages);
    }
    bool Finish(std::vector<std::string>& messages) override { return sink_.Finish(messages); }

private:
    exports::RecordSink& sink_;
};

void Say(const std::string& text) { std::fputs(MessageLine(Message{"Varigap", text}).c_str(), stderr); }

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

bool RunOutputs::Wanted(const RunSettings& o) {
    return !o.extractDir.empty() || o.listing.format == exports::Format::Gff3 ||
           o.listing.format == exports::Format::Bed || !o.countsFile.empty() || !o.summaryFile.empty() ||
           !o.distinctFile.empty() || !o.reportFile.empty() || !o.multiqcFile.empty() ||
           (o.listMadeWith && o.listing.format == exports::Format::Tsv) || o.records != nullptr;
}

RunOutputs::RunOutputs(const Session& session, const RunSettings& opts, int jobs)
    : opts_(opts),
      catalog_(exports::MakeCatalog(session, UniqueSamples(opts.samples))),
      tableMemory_(std::max(exports::DistinctTable::kMemory / static_cast<size_t>(jobs + 1), size_t{1} << 20)),
      distinct_(DistinctKeys(opts), tableMemory_) {
    for (const auto& s : opts.samples)
        sampleOfFile_.push_back(static_cast<size_t>(std::find(catalog_.samples.begin(), catalog_.samples.end(), s) -
                                                    catalog_.samples.begin()));
    if (!opts.extractDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(opts.extractDir, ec);  // a failure shows when writing
        ordered_.push_back(std::make_unique<exports::ExtractSink>(
            catalog_, exports::ExtractSettings{opts.extractDir, opts.extractUncertain, opts.extractEmpty, opts.force}));
    }
    if (opts.listing.format == exports::Format::Gff3) ordered_.push_back(std::make_unique<exports::Gff3Sink>(catalog_));
    if (opts.listing.format == exports::Format::Bed) ordered_.push_back(std::make_unique<exports::BedSink>(catalog_));
    if (opts.records) ordered_.push_back(std::make_unique<BorrowedSink>(*opts.records));
    summary_.program = "varigap-cli";
    summary_.version = VersionText();
    summary_.commandLine = opts.commandLine;
    summary_.parameters = opts.parametersJson;
    counts_.madeWith = distinct_.madeWith = summary_.madeWith = opts.madeWith;
    for (const auto& s : catalog_.samples) summary_.Sample(s);
}

std::string RunOutputs::Header() const {
    if (opts_.listing.format == exports::Format::Tsv)
        return exports::TsvHeader(opts_.listing) +
               (opts_.listMadeWith ? exports::kMadeWithLine + opts_.madeWith + "\n" : std::string());
    return opts_.listing.format == exports::Format::Gff3 ? exports::kGff3Header : "";
}

std::unique_ptr<exports::Tally> RunOutputs::NewTally() const {
    const bool counts = !opts_.countsFile.empty() || !opts_.reportFile.empty();
    const bool summary = !opts_.summaryFile.empty() || !opts_.reportFile.empty() || !opts_.multiqcFile.empty();
    const bool distinct = summary || !opts_.distinctFile.empty();
    if (!counts && !distinct) return nullptr;
    auto tally = std::make_unique<exports::Tally>(catalog_, counts, distinct, summary, DistinctKeys(opts_),
                                                  tableMemory_, opts_.request.identify == Identify::Nearest);
    if (opts_.pairs != PairInput::None) tally->CountPairs();
    return tally;
}

void RunOutputs::AddTally(exports::Tally& tally) {
    std::lock_guard lock(mutex_);
    tally.AddTo(counts_, distinct_, summary_);
}

void RunOutputs::Take(const exports::AnalysedRead& r, std::string& out, std::string& messages) {
    sinkMessages_.clear();
    for (auto& sink : ordered_) sink->Take(r, out, sinkMessages_);
    for (const auto& m : sinkMessages_) messages += MessageLine(Message{"Varigap", m});
}

RunStatus RunOutputs::Finish() {
    RunStatus status = kRunOk;
    sinkMessages_.clear();
    for (auto& sink : ordered_)
        if (!sink->Finish(sinkMessages_)) status = kRunFailed;
    for (const auto& m : sinkMessages_) Say(m);
    std::string message, error;
    auto publish = [&](const std::string& path, const std::function<void(TextWriter&)>& fill) {
        if (path.empty() || exports::Publish(path, opts_.force, fill, message)) return;
        Say(message);
        status = kRunFailed;
    };
    if (opts_.countsBiom) WriteBiom(opts_.countsFile, counts_, summary_.version, publish);
    else publish(opts_.countsFile, [&](TextWriter& out) { out.Write(counts_.Text()); });
    publish(opts_.distinctFile,
            [&](TextWriter& out) { distinct_.Write([&](const std::string& piece) { out.Write(piece); }); });
    // The report and the MultiQC table are made of the summary.
    const bool summary = !opts_.summaryFile.empty() || !opts_.reportFile.empty() || !opts_.multiqcFile.empty();
    if (summary && !summary_.TakeDistinct(distinct_, error)) {
        Say("File " +
            (opts_.summaryFile.empty() ? opts_.reportFile.empty() ? opts_.multiqcFile : opts_.reportFile
                                       : opts_.summaryFile) +
            " could not be written: " + error + ".");
        return kRunFailed;
    }
    publish(opts_.summaryFile, [&](TextWriter& out) { out.Write(summary_.Json()); });
    WriteHtmlReport(opts_.reportFile, summary_, counts_, publish);
    WriteMultiqc(opts_.multiqcFile, summary_, publish);
    return status;
}

}  // namespace varigap::run

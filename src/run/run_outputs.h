// The outputs of an analyze run fed by its stream of analysed records: region files, GFF3 or
// BED on standard output, the counts table, the summary and the distinct reads.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/limits.h"
#include "core/state.h"
#include "export/catalog.h"
#include "export/counts_table.h"
#include "export/distinct_table.h"
#include "export/sink.h"
#include "export/summary.h"
#include "export/tally.h"
#include "run/run_settings.h"
#include "seqio/sequence_file.h"

namespace varigap::run {

// Records longer than this are passed over: the conserved regions are looked for in stretches
// of at most maxSeqLen bases.
constexpr size_t kLongestRead = maxSeqLen;

// Why a record that could not be read was passed over (Skip::None for problems of a file).
exports::Skip SkipOf(const seqio::ReadProblem& p);

class RunOutputs {
public:
    // None of them asked for: the run goes as before, without facts.
    static bool Wanted(const RunSettings& opts);

    // `jobs`: the tallies there will be.
    RunOutputs(const Session& session, const RunSettings& opts, int jobs);

    // The index among the run's samples (each name once, in input order) of the sample of file `file`.
    size_t SampleOf(size_t file) const { return sampleOfFile_[file]; }
    const std::string& SampleName(size_t sample) const { return catalog_.samples[sample]; }
    // Whether sinks take the records in record order (region files, GFF3, BED).
    bool Ordered() const { return !ordered_.empty(); }
    // Standard output's first lines (GFF3; the TSV header row and, with --made-with, what the
    // run was made with).
    std::string Header() const;

    // A job's counts, nullptr when nothing is counted; added up by AddTally when the job ends.
    std::unique_ptr<exports::Tally> NewTally() const;
    void AddTally(exports::Tally& tally);
    // Hands the next record to the sinks that take records in order; messages as full lines.
    void Take(const exports::AnalysedRead& r, std::string& out, std::string& messages);
    // Publishes every file; kRunFailed when one was not written.
    RunStatus Finish();

private:
    const RunSettings& opts_;
    exports::Catalog catalog_;
    std::vector<size_t> sampleOfFile_;
    std::vector<std::unique_ptr<exports::RecordSink>> ordered_;
    std::vector<std::string> sinkMessages_;  // scratch
    std::mutex mutex_;                       // of the sums below
    exports::CountsTable counts_;
    size_t tableMemory_;  // for each job's distinct reads, and the run's: a share of 32 MiB, at least 1 MiB
    exports::DistinctTable distinct_;
    exports::Summary summary_;
    std::string madeWith_;  // what the run was made with (cli/made_with.h)
};

}  // namespace varigap::run

// The counts of one job of a run: reads per sample, template, region and variable region,
// the variant-by-sample table and the distinct reads. A run adds up the tallies of its jobs.
#pragma once

#include <string>
#include <vector>

#include "export/catalog.h"
#include "export/counts_table.h"
#include "export/distinct_table.h"
#include "export/sink.h"
#include "export/summary.h"

namespace varigap::exports {

class Tally : public RecordSink {
public:
    // Counts what is asked for: the table of counts, the distinct reads (kept as `keys`, in
    // `memory` bytes before they go to a temporary file), the summary's counters. With
    // `nearest` (--identify nearest) the summary counts the VRs identified by nearest variants
    // too, and counts rows of nearest variants carry "~" before the variant.
    Tally(const Catalog& catalog, bool counts, bool distinct, bool summary,
          DistinctTable::Keys keys = DistinctTable::Keys::Bases, size_t memory = DistinctTable::kMemory,
          bool nearest = false);

    // Counts read pairs too, per sample: merged, placed apart, not analysed, and why mates were
    // not merged. Called before the first Take.
    void CountPairs();

    void Take(const AnalysedRead& r, std::string& out, std::vector<std::string>& messages) override;
    bool Finish(std::vector<std::string>&) override { return true; }

    // Adds what was counted to a run's tables, as merges of a split run's shards add them; the
    // distinct reads are handed on, not copied.
    void AddTo(CountsTable& counts, DistinctTable& distinct, Summary& summary);

private:
    // Where the counters of template t begin (its reads, then per region placed, uncertain and
    // not found, then per VR identified and unidentified, and nearest in nearest mode).
    size_t TemplateBase(int t) const { return templateBase_[static_cast<size_t>(t - 1)]; }

    const Catalog& catalog_;
    bool counting_, distinct_, summary_, nearest_;
    std::vector<std::string> keys_;                             // the summary's counters, in order
    std::vector<size_t> templateBase_;                          // by template
    size_t pairBase_ = 0;                                       // where the pairs' counters begin, 0: none
    std::vector<std::vector<long long>> counters_;              // by sample, then key
    std::vector<std::string> vrNames_;                          // "TEMPLATE:V" of every VR, in template order
    std::vector<size_t> vrNameBase_;                            // by template: where its VRs begin in vrNames_
    std::vector<std::vector<std::vector<long long>>> lengths_;  // by sample, then VR name, then length
    CountsTable counts_;
    std::vector<std::vector<size_t>> unidentifiedRow_;  // by template, then VR (1-based)
    size_t noTemplateRow_ = 0;
    std::vector<std::string> vrNumbers_;  // "0", "1", ...: the vr column of VR v
    DistinctTable reads_;
    std::vector<char> placement_;                // scratch: per template region 0 not found, 1 uncertain, 2 placed
    std::vector<const ResultLine*> identified_;  // scratch: per VR its line when identified
};

}  // namespace varigap::exports

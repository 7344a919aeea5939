// The results of a whole run as the results table shows them: one row per record (number,
// name, template, strand, and the variant, taxa and flag of each variable region), made from
// each record's result; sorted and filtered for the view, and the reads of each taxon. The run's
// TSV listing (the text `varigap-cli analyze --format tsv` writes) is kept beside it for export.
#pragma once

#include <string>
#include <vector>

#include "core/read_result.h"
#include "core/session.h"

namespace varigap::ui {

struct RunRecord {
    int index = 0;    // in the sequence list (SequenceRecords)
    long number = 0;  // in the file, 1-based
    std::string name, templ;
    char strand = ' ';  // '+', '-', ' ' when not analysed
    struct VR {
        std::string variant, taxa, flag;
    };
    std::vector<VR> vrs;  // by VR number: vrs[v - 1]
    // What the per-taxon summary counts the record under: the taxa of its variable regions
    // ("unidentified" for a VR without variant), "no template" when nothing was analysed.
    std::string Taxon() const;
};

// What a run found for one of its records, taken from its result while the run goes on: the
// record's number in the run (1-based), then what the table shows of it.
struct RunRow {
    long number = 0;
    std::string templ;  // "" when no template was placed
    char strand = ' ';
    std::vector<RunRecord::VR> vrs;
};
// The row of the result of the run's record `number`, as the run's TSV rows show it (template
// name, variants and taxa with Tabs and line ends as blanks).
RunRow RowOf(const Session& session, long number, const ReadResult& r);

struct TaxonCount {
    std::string taxon;
    long reads = 0;
    double share = 0;  // of the records of the run
};

class RunTable {
public:
    // The run's records in run order: their indexes in the sequence list and their names.
    void Begin(std::vector<int> indexes, std::vector<std::string> names, std::vector<long> numbers);
    // Takes the rows of records analysed, in run order.
    void Take(std::vector<RunRow> rows);
    // Takes the run's TSV listing as it is written.
    void TakeTsv(const std::string& tsv) { tsv_ += tsv; }
    // The TSV text taken so far, as the run wrote it (its header row first).
    const std::string& Tsv() const { return tsv_; }
    // The records analysed or passed over so far (those after the last row seen are not known yet).
    const std::vector<RunRecord>& Records() const { return records_; }
    // Closes the table after the run: records without a row are listed as not analysed.
    void Finish(bool whole);

    // The columns: "#", "record", "template", "strand", then "VRn variant", "VRn taxa", "VRn flag".
    std::vector<std::string> Header() const;
    std::vector<std::string> Cells(const RunRecord& r) const;
    // The records shown: those with a cell that holds `filter` (any case), sorted by column
    // `column` (numbers as numbers), ascending or not; each as its place in Records().
    std::vector<int> Shown(const std::string& filter, int column, bool ascending) const;
    // Reads per taxon, most first, and their share of the records.
    std::vector<TaxonCount> Taxa() const;

private:
    // Lists the run's records up to number `number`: those without a row were not analysed.
    void ListUpTo(size_t number);

    std::vector<int> indexes_;
    std::vector<std::string> names_;  // as the TSV writes them
    std::vector<long> numbers_;
    std::vector<RunRecord> records_;  // the run's first records_.size() records
    std::string tsv_;
    size_t numVRs_ = 0;
};

}  // namespace varigap::ui

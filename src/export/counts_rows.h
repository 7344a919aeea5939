// The rows of a counts table as it is written (sorted, samples in order), for the outputs made
// from it after the run: the BIOM table and the report.
#pragma once

#include <string>
#include <vector>

#include "export/counts_table.h"

namespace varigap::exports {

struct CountsRow {
    CountsTable::Key key;          // template, vr, vr_file, variant, taxa
    std::vector<long long> reads;  // by sample, as CountsTable::Samples lists them
};

// Every row of `table` in the order of its text.
std::vector<CountsRow> CountsRows(const CountsTable& table);

}  // namespace varigap::exports

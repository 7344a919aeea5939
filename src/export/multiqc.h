// The run's per-sample numbers as a MultiQC custom-content table (a file named *_mqc.tsv), so
// that "multiqc OUTDIR" shows a Varigap section beside the other tools of a study.
#pragma once

#include <string>

#include "export/summary.h"

namespace varigap::exports {

// One row per sample: reads, reverse reads, reads without a conserved region, records passed
// over, and per variable region ("TEMPLATE:V") the reads identified and unidentified.
std::string MultiqcTable(const Summary& summary);

}  // namespace varigap::exports

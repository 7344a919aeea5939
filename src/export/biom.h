// The counts table as a BIOM 1.0 (JSON) table, the feature table that QIIME 2, phyloseq and
// biom-format read: observations are the rows of counts.tsv (variants, with their template,
// variable region, variant and taxa as metadata), columns the samples, the same numbers.
#pragma once

#include <string>

#include "export/counts_table.h"

namespace varigap::exports {

// The table as JSON; `generatedBy` names the program and version, `date` is ISO 8601.
std::string BiomJson(const CountsTable& table, const std::string& generatedBy, const std::string& date);

// The time now as BIOM writes it (UTC, ISO 8601); SOURCE_DATE_EPOCH, when set, stands for now,
// so that a build or a test can make the same file twice.
std::string BiomDate();

}  // namespace varigap::exports

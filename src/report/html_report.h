// The report of a run as one HTML page that opens without network access: reads per sample,
// strands, identification, the taxa of each variable region as stacked bars and a heat map,
// its lengths, the templates applied and the run's command line and parameters, each chart
// beside a sortable table. Made from the run's merged summary and counts table.
#pragma once

#include <string>

#include "export/counts_table.h"
#include "export/summary.h"

namespace varigap::report {

// The taxa shown by name per variable region; the others add up to "other".
inline constexpr size_t kTopTaxa = 25;

// The data the page draws, as JSON: the summary, and per variable region ("TEMPLATE:V") the
// kTopTaxa taxa with the most reads over all samples, the other identified reads and the
// unidentified ones, each by sample in the summary's order.
std::string ReportData(const exports::Summary& summary, const exports::CountsTable& counts);

// The page.
std::string HtmlReport(const exports::Summary& summary, const exports::CountsTable& counts);

}  // namespace varigap::report

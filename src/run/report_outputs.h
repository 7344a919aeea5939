// What is made from a run's summary and counts table after the run: the HTML report, the
// MultiQC table and the counts table as BIOM. Shared by analyze and report.
#pragma once

#include <functional>
#include <string>

#include "core/textfile.h"
#include "export/counts_table.h"
#include "export/summary.h"

namespace varigap::run {

// Writes one file through `fill`; an empty path is not written.
using PublishFile = std::function<void(const std::string& path, const std::function<void(TextWriter&)>& fill)>;

void WriteHtmlReport(const std::string& path, const exports::Summary& summary, const exports::CountsTable& counts,
                     const PublishFile& publish);
void WriteMultiqc(const std::string& path, const exports::Summary& summary, const PublishFile& publish);
void WriteBiom(const std::string& path, const exports::CountsTable& counts, const std::string& version,
               const PublishFile& publish);

}  // namespace varigap::run

// What is made from a run's summary and counts table after the run.
#include "run/report_outputs.h"

#include "export/biom.h"
#include "export/multiqc.h"
#include "report/html_report.h"

namespace varigap::run {

void WriteHtmlReport(const std::string& path, const exports::Summary& summary, const exports::CountsTable& counts,
                     const PublishFile& publish) {
    if (!path.empty()) publish(path, [&](TextWriter& out) { out.Write(report::HtmlReport(summary, counts)); });
}

void WriteMultiqc(const std::string& path, const exports::Summary& summary, const PublishFile& publish) {
    if (!path.empty()) publish(path, [&](TextWriter& out) { out.Write(exports::MultiqcTable(summary)); });
}

void WriteBiom(const std::string& path, const exports::CountsTable& counts, const std::string& version,
               const PublishFile& publish) {
    if (!path.empty())
        publish(path, [&](TextWriter& out) {
            out.Write(exports::BiomJson(counts, "varigap-cli " + version, exports::BiomDate()));
        });
}

}  // namespace varigap::run

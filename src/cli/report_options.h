// The command line of varigap-cli report: the report, the MultiQC table and the BIOM table of
// a run made from its (merged) summary and counts table.
#pragma once

#include <string>
#include <vector>

namespace varigap::cli {

struct ReportOptions {
    std::string summaryFile, countsFile;        // the run's, as analyze or merge wrote them
    std::string output, multiqcFile, biomFile;  // "" = not written
    bool force = false;
};

// Reads the arguments after "report"; false with a one-line reason on a usage error.
bool ParseReport(const std::vector<std::string>& args, ReportOptions& o, std::string& error);

}  // namespace varigap::cli

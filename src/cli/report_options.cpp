// The command line of varigap-cli report.
#include "cli/report_options.h"

namespace varigap::cli {

namespace {

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

}  // namespace

bool ParseReport(const std::vector<std::string>& args, ReportOptions& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string a = args[i], value;
        const size_t eq = a.find('=');
        const bool attached = a.rfind("--", 0) == 0 && eq != std::string::npos;
        if (attached) {
            value = a.substr(eq + 1);
            a = a.substr(0, eq);
        }
        if (a == "--force" && !attached) {
            o.force = true;
            continue;
        }
        std::string* target = a == "--summary"               ? &o.summaryFile
                              : a == "--counts"              ? &o.countsFile
                              : a == "-o" || a == "--output" ? &o.output
                              : a == "--multiqc"             ? &o.multiqcFile
                              : a == "--biom"                ? &o.biomFile
                                                             : nullptr;
        if (!target) return Fail(error, "unknown argument " + args[i] + " for report");
        if (!attached) {
            if (i + 1 >= args.size()) return Fail(error, "option " + a + " needs a file");
            value = args[++i];
        }
        if (value.empty()) return Fail(error, "option " + a + " needs a file");
        *target = value;
    }
    if (o.summaryFile.empty() || o.countsFile.empty()) return Fail(error, "report needs --summary and --counts");
    if (o.output.empty() && o.multiqcFile.empty() && o.biomFile.empty())
        return Fail(error, "report writes nothing: give -o, --multiqc or --biom");
    for (const std::string* out : {&o.output, &o.multiqcFile, &o.biomFile})
        if (*out == o.summaryFile || *out == o.countsFile)
            return Fail(error, "report would write over its input " + *out);
    return true;
}

std::string ReportUsage() {
    return "  varigap-cli report --summary FILE --counts FILE [-o REPORT.html] [--multiqc NAME_mqc.tsv]\n"
           "                     [--biom FILE.biom] [--force]\n";
}

std::string ReportHelpText() {
    return R"(report: makes from the summary and the counts table of a run (as analyze --summary and
--counts or merge wrote them; of a whole project after merge) what analyze writes with
--report, --multiqc and --counts-format biom. Each file is written under a temporary name
and renamed when complete.
  -o, --output FILE    the HTML report (see --report).
  --multiqc FILE       the MultiQC table (see --multiqc).
  --biom FILE          the counts table as BIOM 1.0 (see --counts-format).
  --force              replace existing files.
)";
}

}  // namespace varigap::cli

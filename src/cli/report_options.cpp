// The command line of varigap-cli report.
#include "cli/report_options.h"

#include "cli/option_parser.h"

namespace varigap::cli {

bool ParseReport(const std::vector<std::string>& args, ReportOptions& o, std::string& error) {
    auto file = [](std::string& target) {
        return [&target](const std::string&, const std::string& v, std::string&) {
            target = v;
            return true;
        };
    };
    const std::vector<OptionSpec> table = {
        {"--summary", 0, Takes::NonEmptyValue, "a file", file(o.summaryFile)},
        {"--counts", 0, Takes::NonEmptyValue, "a file", file(o.countsFile)},
        {"--output", 'o', Takes::NonEmptyValue, "a file", file(o.output)},
        {"--multiqc", 0, Takes::NonEmptyValue, "a file", file(o.multiqcFile)},
        {"--biom", 0, Takes::NonEmptyValue, "a file", file(o.biomFile)},
        {"--force", 0, Takes::Nothing, "",
         [&](const std::string&, const std::string&, std::string&) {
             o.force = true;
             return true;
         }},
    };
    std::vector<std::string> positional;
    if (!ReadOptions(args, table, "report", positional, error)) return false;
    if (!positional.empty()) return Fail(error, "report takes no argument \"" + positional[0] + "\"");
    if (o.summaryFile.empty() || o.countsFile.empty()) return Fail(error, "report needs --summary and --counts");
    if (o.output.empty() && o.multiqcFile.empty() && o.biomFile.empty())
        return Fail(error, "report writes nothing: give -o, --multiqc or --biom");
    for (const std::string* out : {&o.output, &o.multiqcFile, &o.biomFile})
        if (*out == o.summaryFile || *out == o.countsFile)
            return Fail(error, "report would write over its input " + *out);
    return true;
}

}  // namespace varigap::cli

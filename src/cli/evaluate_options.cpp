// The options of varigap-cli evaluate.
#include "cli/evaluate_options.h"

#include <cstdlib>

#include "cli/option_parser.h"

namespace varigap::cli {

std::vector<OptionSpec> BoundOptions(NearestBounds& bounds, bool& given) {
    return {
        {"--max-diffs", 0, Takes::Value, "a number",
         [&](const std::string&, const std::string& v, std::string& e) {
             given = true;
             return ParseNumber(v, 0, 100000, bounds.maxDiffs) ||
                    Fail(e, "--max-diffs takes a whole number from 0 to 100000, not \"" + v + "\"");
         }},
        {"--min-identity", 0, Takes::Value, "a fraction",
         [&](const std::string&, const std::string& v, std::string& e) {
             given = true;
             char* end = nullptr;
             const double f = v.empty() ? -1 : std::strtod(v.c_str(), &end);
             if (end != v.c_str() + v.size() || !(f >= 0 && f <= 1))
                 return Fail(e, "--min-identity takes a fraction from 0 to 1, not \"" + v + "\"");
             bounds.minIdentity = f;
             return true;
         }},
    };
}

bool ParseEvaluate(const std::vector<std::string>& args, EvaluateOptions& o, std::string& error) {
    bool boundGiven = false;
    std::vector<OptionSpec> table = {
        {"--params", 0, Takes::Value, "a file",
         [&](const std::string&, const std::string& v, std::string&) {
             o.paramsFile = v;
             return true;
         }},
        {"--format", 0, Takes::Value, "text or tsv",
         [&](const std::string&, const std::string& v, std::string& e) {
             if (v != "text" && v != "tsv") return Fail(e, "--format takes text or tsv, not \"" + v + "\"");
             o.tsv = v == "tsv";
             return true;
         }},
    };
    for (OptionSpec& bound : BoundOptions(o.nearest, boundGiven)) table.push_back(std::move(bound));
    std::vector<std::string> positional;
    if (!ReadOptions(args, table, "evaluate", positional, error)) return false;
    if (positional.size() != 1) return Fail(error, "evaluate needs one TEMPLATE_FILE");
    o.templateFile = positional[0];
    return true;
}

}  // namespace varigap::cli

// The command line of varigap-cli merge.
#include "cli/merge_options.h"

#include <algorithm>

#include "cli/option_parser.h"

namespace varigap::cli {

namespace {

// Every kind merge knows, as the command line names it.
const struct {
    const char* name;
    MergeKind kind;
} kMergeKinds[] = {
    {"counts", MergeKind::Counts}, {"distinct", MergeKind::Distinct}, {"summary", MergeKind::Summary},
    {"tsv", MergeKind::Tsv},       {"gff3", MergeKind::Gff3},
};

// "counts, distinct, summary, tsv or gff3".
std::string KindNames() {
    std::string names;
    for (size_t i = 0; i < std::size(kMergeKinds); ++i)
        names += (i == 0 ? "" : i + 1 == std::size(kMergeKinds) ? " or " : ", ") + std::string(kMergeKinds[i].name);
    return names;
}

}  // namespace

bool ParseMerge(const std::vector<std::string>& args, MergeOptions& o, std::string& error) {
    const std::vector<OptionSpec> table = {
        {"--force", 0, Takes::Nothing, "",
         [&](const std::string&, const std::string&, std::string&) {
             o.force = true;
             return true;
         }},
        {"--distinct", 0, Takes::NonEmptyValue, "a file",
         [&](const std::string&, const std::string& v, std::string&) {
             o.distinctFile = v;
             return true;
         }},
    };
    std::vector<std::string> positional;
    if (!ReadOptions(args, table, "merge", positional, error)) return false;
    const auto* kind = std::find_if(std::begin(kMergeKinds), std::end(kMergeKinds),
                                    [&](const auto& k) { return !positional.empty() && positional[0] == k.name; });
    const bool known = kind != std::end(kMergeKinds);
    if (positional.size() < 3)
        return Fail(error, known && IsJoined(kind->kind) ? "merge tsv|gff3 needs OUT and one or more IN files"
                                                         : "merge needs KIND, OUTPUT and at least one INPUT");
    if (!known) return Fail(error, "merge takes " + KindNames() + ", not \"" + positional[0] + "\"");
    o.kind = kind->kind;
    o.output = positional[1];
    o.inputs.assign(positional.begin() + 2, positional.end());
    if (!o.distinctFile.empty() && o.kind != MergeKind::Summary)
        return Fail(error, "--distinct goes with merge summary");
    if (std::find(o.inputs.begin(), o.inputs.end(), o.output) != o.inputs.end())
        return Fail(error, "merge would write over its input " + o.output);
    return true;
}

}  // namespace varigap::cli

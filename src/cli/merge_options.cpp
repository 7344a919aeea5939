// The command line of varigap-cli merge.
#include "cli/merge_options.h"

#include <algorithm>

namespace varigap::cli {

namespace {

// What merge adds up; the workflow's concatenations come after these.
const char* const kMergeKinds[] = {"counts", "distinct", "summary"};

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

}  // namespace

bool ParseMerge(const std::vector<std::string>& args, MergeOptions& o, std::string& error) {
    std::vector<std::string> positional;
    bool ended = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (ended || a.size() < 2 || a[0] != '-') {
            positional.push_back(a);
        } else if (a == "--") {
            ended = true;
        } else if (a == "--force") {
            o.force = true;
        } else if (a == "--distinct" || a.rfind("--distinct=", 0) == 0) {
            if (a == "--distinct" && i + 1 >= args.size()) return Fail(error, "option --distinct needs a file");
            o.distinctFile = a == "--distinct" ? args[++i] : a.substr(11);
            if (o.distinctFile.empty()) return Fail(error, "option --distinct needs a file");
        } else {
            return Fail(error, "unknown option " + a + " for merge");
        }
    }
    if (positional.size() < 3) return Fail(error, "merge needs KIND, OUTPUT and at least one INPUT");
    o.kind = positional[0];
    if (std::find(std::begin(kMergeKinds), std::end(kMergeKinds), o.kind) == std::end(kMergeKinds))
        return Fail(error, "merge takes counts, distinct, summary, tsv or gff3, not \"" + o.kind + "\"");
    o.output = positional[1];
    o.inputs.assign(positional.begin() + 2, positional.end());
    if (!o.distinctFile.empty() && o.kind != "summary") return Fail(error, "--distinct goes with merge summary");
    if (std::find(o.inputs.begin(), o.inputs.end(), o.output) != o.inputs.end())
        return Fail(error, "merge would write over its input " + o.output);
    return true;
}

std::string MergeUsage() {
    return "  varigap-cli merge counts|distinct|summary OUTPUT INPUT... [--distinct FILE] [--force]\n";
}

std::string MergeHelpText() {
    return R"(merge: adds up the tables and summaries that analyze wrote for parts (shards) of a run,
inputs in shard order, into OUTPUT as one analyze run over all of them would have written
them. OUTPUT is written under a temporary name and renamed when complete; nothing is
written when an input cannot be read, is OUTPUT under another name, or was made
otherwise than the first input (the tables' "# made with:" line, the summaries'
made_with: template, its checksum, options that change results, version).
  counts               counts tables (--counts): the reads of each row and sample are added;
                       sample columns in the order they first come, rows sorted again.
  distinct             tables of distinct reads (--distinct): reads added per sample and
                       sequence.
  summary              summaries (--summary): every counter of each sample is added;
                       program, version and parameters from the first input, the command
                       line of the merge. distinct_reads cannot be added (a read can be in
                       several shards): it is taken from --distinct, else added with a
                       warning. "{}" and other JSON without program, version and samples
                       is refused.
  --distinct FILE      summary: the merged table of distinct reads of the same shards.
  --force              replace an existing OUTPUT.
)";
}

}  // namespace varigap::cli

// The command line of varigap-cli merge: tables and summaries of the shards of a split run
// added up into the run's.
#pragma once

#include <string>
#include <vector>

namespace varigap::cli {

struct MergeOptions {
    std::string kind;  // what is merged: counts, distinct or summary
    std::string output;
    std::vector<std::string> inputs;  // in shard order
    std::string distinctFile;         // summary: the merged table of distinct reads; "" = none
    bool force = false;
    std::string commandLine;  // as given, for a merged summary
};

// Reads the arguments after "merge"; false with a one-line reason on a usage error.
bool ParseMerge(const std::vector<std::string>& args, MergeOptions& o, std::string& error);
// The usage line and the help of merge.
std::string MergeUsage();
std::string MergeHelpText();

}  // namespace varigap::cli

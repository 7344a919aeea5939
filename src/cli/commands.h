// The commands of varigap-cli; each returns the program's exit status.
#pragma once

#include <string>

#include "cli/options.h"

namespace varigap::cli {

// Exit statuses by what they say. Scripts rely on the numbers, which is why a command line that
// cannot be followed, an input that cannot be read and an output that cannot be written share 2.
enum ExitStatus : int {
    kExitOk = 0,
    kExitFailed = 1,  // records, named sequences or output files failed; the rest was done
    kExitUsage = 2,   // the command line cannot be followed
    kExitInput = 2,   // an input (template, sequence, settings, table file) cannot be read
    kExitOutput = 2,  // standard output, or what a command exists to write, cannot be written
};

int RunAnalyze(const AnalyzeOptions& opts);
int RunVariants(const VariantsOptions& opts);
int RunBuild(const BuildCommandOptions& opts);
int RunRegions(const RegionsOptions& opts);
int RunCheck(const CheckOptions& opts);
int RunMerge(const MergeOptions& opts);  // every MergeKind
// merge tsv|gff3: the shards' outputs joined in shard order under one header.
int RunConcat(const MergeOptions& opts);
int RunReport(const ReportOptions& opts);
int RunEvaluate(const EvaluateOptions& opts);

// Directory and file name of a path as given ("" directory for a bare name).
void SplitPath(const std::string& path, std::string& directory, std::string& name);

}  // namespace varigap::cli

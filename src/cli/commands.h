// The commands of varigap-cli; each returns the program's exit status.
#pragma once

#include <string>

#include "cli/options.h"

namespace varigap::cli {

enum ExitStatus : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

int RunAnalyze(const AnalyzeOptions& opts);
int RunVariants(const VariantsOptions& opts);
int RunBuild(const BuildCommandOptions& opts);
int RunRegions(const RegionsOptions& opts);
int RunCheck(const CheckOptions& opts);
int RunMerge(const MergeOptions& opts);
int RunReport(const ReportOptions& opts);

// Directory and file name of a path as given ("" directory for a bare name).
void SplitPath(const std::string& path, std::string& directory, std::string& name);

}  // namespace varigap::cli

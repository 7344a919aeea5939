// Checking a template file and the variable region files it names before a long run.
#pragma once

#include <string>
#include <vector>

#include "core/session.h"

namespace varigap::builder {

struct CheckResult {
    std::vector<std::string> problems;  // "FILE:LINE: message", in file order per file
    bool unreadable = false;            // the template file itself could not be read
};

// Reads the template file with the program's own reader and every variable region file it
// names, and lists what would go wrong or mislead in an analysis: files missing or
// unreadable; reader errors and limits; templates without conserved or variable regions;
// conserved regions without bases or shorter than the word length or minCRLength (from
// `settings`); runs of more consecutive variable regions than the parse fills; characters
// other than bases, blanks and digits in a variant; duplicate and empty variants, variants that begin another
// (for files of VRs that stand next to another VR);
// unfinished entries; more entries than the Variable Region Analysis window lists; conserved
// regions that also occur in a variant of a neighbouring variable region; and templates the
// ranking cannot tell apart (identical conserved regions, or totals within baseCountTolerance).
CheckResult CheckTemplateFile(const Session& settings, const std::string& path);

}  // namespace varigap::builder

// What an analyze run's tables, summary and (with --made-with) TSV listing say they were made with.
#pragma once

#include <string>

#include "cli/options.h"
#include "core/state.h"
#include "export/catalog.h"

namespace varigap::cli {

// The text of exports::MadeWithText for a run with `opts` on the templates loaded in `st`.
std::string RunMadeWith(const Session& session, const AnalyzeOptions& opts, const exports::Catalog& catalog);

}  // namespace varigap::cli

// Standard output of an analysis: text (the main window's lines), TSV rows or JSON.
#pragma once

#include <string>

#include "cli/analysis.h"
#include "core/state.h"

namespace varigap::cli {

// ">" NAME TAB TEMPLATE, the ranking when asked for, then the display lines.
void FormatText(const State& st, const std::string& name, const RecordAnalysis& a, bool ranking, std::string& out);
std::string TsvHeader();
// One row per listed display line.
void FormatTsv(const State& st, const std::string& name, const RecordAnalysis& a, std::string& out);
// One JSON object on one line: ranking, regions, possibilities, segments and lines.
void FormatJson(const State& st, const std::string& name, const RecordAnalysis& a, std::string& out);

// Helpers shared with the tests of the formats.
std::string JsonString(const std::string& s);
std::string TsvField(const std::string& s);

}  // namespace varigap::cli

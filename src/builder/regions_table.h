// REGIONS.tsv: one row per (record, region) with the region's kind and its place in the record.
#pragma once

#include <string>
#include <vector>

namespace varigap::builder {

struct RegionRow {
    long line = 0;            // line in the table
    std::string sequence;     // the record's name as its header line gives it
    std::string region;       // region name
    bool isCR = false;        // kind CR (else VR)
    long start = 0, end = 0;  // 1-based, inclusive; a VR may be empty (end = start - 1)
    std::string taxon;        // text listed for the record's variants; default the record's name
    std::string group;        // value of the --group column ("" without one)
};

// Reads the table: a header row naming the columns (sequence, region, kind, start, end, and
// optionally taxon; other columns are kept only when `groupColumn` names them), then the rows.
// Blank lines and lines starting with "#" are skipped. Every fault is added to `problems` as
// "FILE:LINE: message" and its row left out. Throws InputError when the file cannot be read.
std::vector<RegionRow> ReadRegionsTable(const std::string& path, const std::string& groupColumn,
                                        std::vector<std::string>& problems);

}  // namespace varigap::builder

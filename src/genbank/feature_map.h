// MAP.tsv: which features of an annotated record make which regions of a template, and the
// regions of one record found with it.
#pragma once

#include <string>
#include <vector>

#include "genbank/flat_file.h"

namespace varigap::genbank {

// One test on a feature: "/name=value" (equal), "/name~text" (contains), "/name" (present),
// all without regard to case, or "parts=N" (its location has N parts).
struct FeatureTest {
    std::string qualifier;
    char op = '?';  // '=', '~', '?' or 'p' for parts=N
    std::string value;
    long parts = 0;
};

// One way to find a region: a feature with this key that passes every test, and which part
// of it (0 = the whole feature, N = its Nth part, -N = its Nth part from its end).
struct FeatureRule {
    long line = 0;
    std::string key;
    std::vector<FeatureTest> tests;
    long part = 0;
};

struct MapRegion {
    std::string name;
    bool isCR = false;
    bool gap = false;                // the bases between the regions before and after it
    std::vector<FeatureRule> rules;  // tried in order; the first rule a feature passes gives its part
};

// Reads MAP.tsv: a header naming the columns region, kind, key, qualifiers and part, then
// one row per rule, in the order of the regions in the template; rows with the same region
// name are alternatives. A gap region has key "-" and part "gap". Faults are added to
// `problems` as "FILE:LINE: message". Throws builder::InputError when it cannot be read.
std::vector<MapRegion> ReadFeatureMap(const std::string& path, std::vector<std::string>& problems);

struct FoundRegion {
    std::string name;
    bool isCR = false;
    long start = 0, end = 0;  // 1-based, inclusive, in the extracted sequence
};

// The regions of one record, cut out with `flank` bases on each side and turned to the
// strand of its features.
struct FoundRecord {
    std::string name;      // organism and accession
    std::string sequence;  // upper case
    std::vector<FoundRegion> regions;
    long genomeStart = 0, genomeEnd = 0;  // the stretch cut out, on the record's forward strand
    bool minus = false;
};

// Finds the map's regions in a record: for each feature that gives the first region, the
// nearest feature downstream on the same strand for each next one; of the complete series
// the shortest. False with the reason when a region is missing, the series is longer than
// `maxSpan` bases, or a feature's location cannot be read or lies outside the sequence.
bool FindRegions(const FlatRecord& record, const std::vector<MapRegion>& map, long flank, long maxSpan,
                 FoundRecord& found, std::string& why);

}  // namespace varigap::genbank

// Annotated records in GenBank or EMBL flat files: name, organism, features, sequence.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace varigap::genbank {

struct Feature {
    std::string key;                                              // "tRNA", "misc_feature", ...
    std::string location;                                         // as written, continuation lines joined
    long line = 0;                                                // line of the key
    std::vector<std::pair<std::string, std::string>> qualifiers;  // name without "/", value without quotes
};

struct FlatRecord {
    long line = 0;          // line of LOCUS or ID
    int number = 0;         // 1 for the first record of the file
    std::string accession;  // with its version when the record gives one ("MK908406.1")
    std::string organism;
    std::vector<std::string> lineage;  // the taxonomy, highest rank first
    std::vector<Feature> features;
    std::string sequence;  // upper case
};

// Reads every record of a GenBank or EMBL flat file (plain or gzip) in order and hands each
// complete, sound record to `fn`. A malformed record is reported to `problem` as "FILE:LINE:
// record N (ACCESSION): what is wrong" and skipped; reading goes on after its "//". Throws
// builder::InputError when the file cannot be read at all (missing, damaged compression).
void ForEachFlatRecord(const std::string& path, const std::function<void(const FlatRecord&)>& fn,
                       const std::function<void(const std::string&)>& problem);

}  // namespace varigap::genbank

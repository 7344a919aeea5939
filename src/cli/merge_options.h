// The command line of varigap-cli merge: what the shards of a split run wrote, put together
// into what one run would have written, for every kind merge knows.
#pragma once

#include <string>
#include <vector>

namespace varigap::cli {

// What merge puts together. Tables and summaries are added up with the code that adds up the
// jobs of one run; TSV and GFF3 outputs are joined in shard order under one header.
enum class MergeKind {
    Counts,    // counts tables (analyze --counts)
    Distinct,  // tables of distinct reads (--distinct)
    Summary,   // summaries (--summary)
    Tsv,       // --format tsv outputs: each begins with the same header row
    Gff3,      // --format gff3 outputs: each begins with the same "##gff-version" line
};

// True for the kinds that are joined line by line rather than added up.
inline bool IsJoined(MergeKind kind) { return kind == MergeKind::Tsv || kind == MergeKind::Gff3; }

struct MergeOptions {
    MergeKind kind = MergeKind::Counts;
    std::string output;
    std::vector<std::string> inputs;  // in shard order
    std::string distinctFile;         // summary: the merged table of distinct reads; "" = none
    bool force = false;               // replace an existing output
    std::string commandLine;          // as given, for a merged summary
};

// Reads the arguments after "merge"; false with a one-line reason on a usage error.
bool ParseMerge(const std::vector<std::string>& args, MergeOptions& o, std::string& error);

}  // namespace varigap::cli

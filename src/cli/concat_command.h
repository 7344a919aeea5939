// varigap-cli merge tsv|gff3: the shards' TSV or GFF3 outputs joined in shard order, one header.
#pragma once

#include <string>
#include <vector>

namespace varigap::cli {

// What the joined files are: TSV (each begins with the same header row) or GFF3 (each begins
// with the same "##gff-version" line).
enum class ConcatKind { Tsv, Gff3 };

struct ConcatOptions {
    ConcatKind kind = ConcatKind::Tsv;
    std::string output;
    std::vector<std::string> inputs;  // in shard order
    bool force = false;               // replace an existing output
};

// True when `mode` (the word after "merge") is one this command joins.
bool IsConcatMode(const std::string& mode);
// Reads the arguments after "merge"; false with a one-line reason on a usage error.
bool ParseConcat(const std::vector<std::string>& args, ConcatOptions& o, std::string& error);
int RunConcat(const ConcatOptions& opts);
// The usage line and the help of merge tsv|gff3.
std::string ConcatUsage();
std::string ConcatHelpText();

}  // namespace varigap::cli

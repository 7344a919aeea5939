// The name offered for the output file of a sequence.
#pragma once

#include <string>

namespace varigap {

// The first `maxChars` letters and digits of `seqName`, from its first letter on, then `suffix`.
// Letters of every alphabet count (é, Ö, Greek, Cyrillic, CJK...), each one character however many
// bytes it takes; a name without letters gives `fallback` + `suffix`, so the name offered is
// never empty and never starts with a dot (a hidden file).
std::string SuggestedFileName(const std::string& seqName, int maxChars, const std::string& suffix,
                              const std::string& fallback = "sequence");

}  // namespace varigap

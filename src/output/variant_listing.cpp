// Listing the variants of a variable region file by length.
#include "output/variant_listing.h"

#include "core/bases.h"
#include "core/limits.h"

namespace varigap {

bool IsSeqShown(const std::string& rawBases, int compMode, int pLength) {
    std::string cleaned = rawBases;
    StripNonBases(cleaned);
    long len = static_cast<long>(cleaned.size());
    switch (compMode) {
        case kSameLength: return len == pLength;
        case kDifferentLength: return len != pLength;
        case kShorter: return len < pLength;
        case kLonger: return len > pLength;
        case kAll: return true;
        default: return false;
    }
}

std::vector<std::string> SplitVariantText(const std::string& rawBases) {
    std::vector<std::string> lines;
    std::string line = rawBases;
    while (line.size() >= MAXLSTSEQSLINELEN + 1) {
        lines.push_back(line.substr(0, MAXLSTSEQSLINELEN) + " +");
        line.erase(0, MAXLSTSEQSLINELEN);
    }
    lines.push_back(line);
    return lines;
}

}  // namespace varigap

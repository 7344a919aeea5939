// Feature locations of GenBank and EMBL records: "1..20", "complement(join(1..20,40..60))".
#pragma once

#include <string>
#include <vector>

namespace varigap::genbank {

// One stretch of a feature on the record's sequence: bases first..last (1-based, first <=
// last) of the forward strand, read on the reverse strand when `minus` is set.
struct Part {
    long first = 0, last = 0;
    bool minus = false;
};

// Parses a location into its parts in the feature's own order (5' to 3' of the feature):
// complement() reverses the order of what it holds and turns its strand, join() and order()
// put parts one after another, "<" and ">" (partial ends) are read as plain positions, and
// a single position is a part of one base. Blanks are ignored. Anything else (a site between
// two bases "5^6", a reference to another record "J00194.1:10..20", gap(), a start after its
// end) gives false and a reason in `error`.
bool ParseLocation(const std::string& text, std::vector<Part>& parts, std::string& error);

}  // namespace varigap::genbank

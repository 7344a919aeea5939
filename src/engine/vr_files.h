// Variable region files: entries of bases ">" taxa "<" over any number of lines.
#pragma once

#include <string>

#include "core/textfile.h"

namespace varigap {

// One entry of a variable region file.
struct VREntry {
    std::string rawBases;  // the bases text as written (pieces joined, not cleaned)
    std::string bases;     // cleaned to the base alphabet; "" for the empty variant
    std::string taxa;      // taxa text as written
};

// Reads the complete entries of an open variable region file in file order; an entry
// without its closing "<" at the end of the file is dropped.
class VREntryReader {
public:
    explicit VREntryReader(TextReader& file) : file_(file) {}
    bool Next(VREntry& entry);

private:
    TextReader& file_;
};

}  // namespace varigap

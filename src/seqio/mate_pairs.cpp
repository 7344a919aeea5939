// Read pairs as sequencers write them.
#include "seqio/mate_pairs.h"

#include "seqio/sequence_file.h"

namespace varigap::seqio {

std::string_view PairName(std::string_view header) {
    std::string_view name = header.substr(0, header.find_first_of(" \t"));
    if (name.size() > 2 && name[name.size() - 2] == '/' && (name.back() == '1' || name.back() == '2'))
        name.remove_suffix(2);
    return name;
}

std::string PairSampleName(const std::string& path) {
    std::string name = SampleName(path);
    for (const std::string part : {"_R1", "_1"}) {
        if (name.size() > part.size() && name.compare(name.size() - part.size(), part.size(), part) == 0)
            return name.erase(name.size() - part.size());
        // Illumina's S1_S1_L001_R1_001: the part before the file's number.
        if (const size_t at = name.rfind(part + "_"); at != std::string::npos && at > 0)
            return name.erase(at, part.size());
    }
    return name;
}

}  // namespace varigap::seqio

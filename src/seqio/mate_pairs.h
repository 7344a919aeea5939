// Read pairs as sequencers write them: the name two mates share, and the sample a pair of
// files stands for.
#pragma once

#include <string>
#include <string_view>

namespace varigap::seqio {

// The name of a mate without its comment (what follows the first blank or Tab) and without a
// "/1" or "/2" at its end: the same for both mates of a pair.
std::string_view PairName(std::string_view header);

// The sample a pair of files stands for: SampleName of the first mates' file without its
// "_R1" or "_1" part (S1_R1.fastq.gz, S1_1.fq, S1_S1_L001_R1_001.fastq.gz: S1, S1, S1_S1_L001_001).
std::string PairSampleName(const std::string& path);

}  // namespace varigap::seqio

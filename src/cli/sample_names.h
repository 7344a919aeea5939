// The samples of a run's sequence files.
#pragma once

#include <string>
#include <vector>

namespace varigap::cli {

// The sample of each of `files`: the name `given` with --sample, else the file's name. Two files
// make one sample only when both were given that name; false with a message naming both files
// when two files would be one sample otherwise (run1/S.fastq and run2/S.fastq). With `pairs` the
// files go two by two (mates 1, then mates 2), each two one sample named after the first.
bool NameSamples(const std::vector<std::string>& files, const std::vector<std::string>& given,
                 std::vector<std::string>& samples, std::string& error, bool pairs = false);

}  // namespace varigap::cli

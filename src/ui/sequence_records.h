// The records of a sequence file as the desktop program holds them: read once through the reader
// of batch runs (FASTA or FASTQ, plain or gzip, told by content), so that the window lists, shows
// and analyses exactly the records the command line reads.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace varigap::ui {

struct SequenceRecords {
    std::string path;                   // the file read ("" none)
    std::string kind;                   // "FASTA", "FASTQ, gzip", ...
    std::vector<std::string> names;     // in file order (records passed over are not listed)
    std::vector<std::string> bases;     // of names[i]
    std::vector<long> numbers;          // the place of names[i] in the file (1-based)
    std::vector<std::string> problems;  // what was passed over or where reading stopped, in words

    // Reads every record of `path`; `progress(bytesRead, totalBytes)` is told along the way
    // (false from it stops reading). False, with `error` naming the file and the problem, when
    // the file cannot be read at all; the records read before a broken end are kept.
    bool Read(const std::string& path, std::string& error,
              const std::function<bool(long long, long long)>& progress = {});
    void Clear();
    // The index of the first record called `name`, -1 when none is.
    int Find(const std::string& name) const;
    int Count() const { return static_cast<int>(names.size()); }
};

}  // namespace varigap::ui

// Sequence records for the builder: FASTA or FASTQ, plain or gzip, one callback per record.
// The one place where the builder reads sequences, so that it can move to a shared reader.
#pragma once

#include <functional>
#include <string>

namespace varigap::builder {

struct SeqRecord {
    std::string name;   // the header line after ">" or "@" and the blanks after it
    std::string bases;  // the base-alphabet characters of the sequence lines, as written
    std::string qual;   // FASTQ quality string ("" for FASTA)
    long line = 0;      // line of the header
};

// Calls `fn` for every record of `path` in file order. The format is told by the first
// character that is not blank (">" FASTA, "@" FASTQ). Throws InputError ("FILE:LINE:
// message") for a file that cannot be read or a FASTQ record that is broken.
void ForEachRecord(const std::string& path, const std::function<void(const SeqRecord&)>& fn);

}  // namespace varigap::builder

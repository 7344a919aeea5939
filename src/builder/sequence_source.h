// Sequence records for the builder: FASTA or FASTQ, plain or gzip, one callback per record.
#pragma once

#include <functional>
#include <string>

namespace varigap::builder {

struct SeqRecord {
    std::string name;   // the header line after ">" or "@" and the blanks after it
    std::string bases;  // FASTA: the base-alphabet characters of the sequence lines; FASTQ: as written
    std::string qual;   // FASTQ quality string ("" for FASTA)
    long number = 0;    // 1-based position of the record in its file
};

// Calls `fn` for every record of `path` in file order (FASTA or FASTQ, plain, gzip or BGZF,
// recognised by content). Throws InputError ("FILE:LINE: message") for a file that cannot be
// read or a record that is broken.
void ForEachRecord(const std::string& path, const std::function<void(const SeqRecord&)>& fn);

}  // namespace varigap::builder

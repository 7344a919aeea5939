// What can be wrong in a sequence file, as data, and the one place that puts it into words.
#pragma once

#include <string>

namespace varigap::seqio {

enum class ProblemKind {
    Empty,          // the file holds no bytes, or only blank lines
    NoRecords,      // text without any record
    Binary,         // control bytes: not a text file, or damaged
    NoPlusLine,     // FASTQ bases not followed by a "+" line
    QualityLength,  // FASTQ quality characters and bases differ in number
    BadBase,        // a FASTQ base line holds a character outside the base alphabet
    BadQuality,     // a quality character outside "!".."~"
    NoHeader,       // FASTQ text where a record's "@" line should be
    TooLong,        // more bases than SetMaxBases allows
    Truncated,      // the compressed stream breaks off
    Damaged,        // the compressed data fails its checks
    CheckFailed,    // a gzip member fails its CRC or length check at its end
    Unreadable,     // the file could not be opened
};

struct ReadProblem {
    ProblemKind kind = ProblemKind::Empty;
    long record = 0;            // the record concerned, 0 for the file as a whole
    long long line = 0;         // the line where it was seen, 0 for none
    long wholeRecords = 0;      // Truncated, Damaged: the records read whole before reading stopped
    bool toNextHeader = false;  // the lines up to the next "@" line were passed over, not one record
    long firstOfMember = 0;     // CheckFailed: the first record of the gzip member that failed
    long long memberLine = 0;   // CheckFailed: the line at which that member begins
    std::string what;           // what is wrong, without where or what was passed over
};

// The problem in words, as messages show it: "record N (line L): WHAT; record passed over"
// for a bad record, WHAT with where reading stopped for a broken stream, WHAT for the file.
// Without `sayPassedOver` a bad record's text does not say that it was passed over (for a
// reader that stops at the first bad record).
std::string ProblemText(const ReadProblem& p, bool sayPassedOver = true);
// The problem of sequence file `file` in one sentence: "Sequence file "FILE", record N (line
// L): ..." for a bad record, "Sequence file "FILE": ..." otherwise.
std::string ProblemInFile(const std::string& file, const ReadProblem& p);

}  // namespace varigap::seqio

// Sequence files for batch runs: FASTA or FASTQ (multi-line both), plain, gzip or BGZF,
// recognised by content; records in file order, bad input reported by record number.
#pragma once

#include <string>

#include "seqio/line_input.h"
#include "seqio/read_problem.h"

namespace varigap::seqio {

enum class Format { Unknown, Fasta, Fastq };

struct SeqRecord {
    long number = 0;    // 1-based position of the record in its file
    std::string name;   // the header line after ">" or "@" and the blanks and Tabs after it
    std::string bases;  // FASTA: the characters of the base alphabet, in order; FASTQ: as written
    std::string quals;  // FASTQ: one quality character per base; FASTA: empty
};

enum class ReadResult {
    Record,   // `record` holds the next record
    Problem,  // `problem` says what was wrong; reading can go on with the next call
    Fatal,    // `problem` says why the file cannot be read on; no more records follow
    End,      // no more records
};

// Reads one file's records once, in order. A bad record is reported and passed over, and
// reading goes on at the next record where the text allows it; a broken compressed stream
// ends the file after the last record that arrived whole.
class SequenceFile {
public:
    // Opens `path` ("-": standard input); false with the reason (without the file name).
    bool Open(const std::string& path, std::string& error);
    // Records of `format` with more bases than this are reported (TooLong) and passed over
    // without being held in memory; 0 (the default): no limit.
    void SetMaxBases(Format format, size_t maxBases) { (format == Format::Fasta ? maxFasta_ : maxFastq_) = maxBases; }

    ReadResult Next(SeqRecord& record, ReadProblem& problem);

    // Known once the first record (or the first problem) has been read.
    Format FileFormat() const { return format_; }
    Compression FileCompression() const { return input_.Kind(); }
    // Bytes of the file consumed so far, as stored (compressed or not): for progress.
    long long FileOffset() const { return input_.FileOffset(); }
    // Decompresses ahead of the thread that reads the records; see LineInput::ReadAhead.
    bool ReadAhead(bool onlyIfDry = false) { return input_.ReadAhead(onlyIfDry); }

private:
    // Reads up to the first record; false with `result` set when there is none to read.
    bool Detect(ReadProblem& problem, ReadResult& result);
    ReadResult FileProblem(ReadProblem& problem, ProblemKind kind, long long line, const std::string& what);
    ReadResult NextFasta(SeqRecord& record, ReadProblem& problem);
    ReadResult NextFastq(SeqRecord& record, ReadProblem& problem);
    // Reads the next line into line_; false at the end of the data or at a fault.
    bool Advance();
    // After a bad FASTQ record: passes lines up to the next one that starts with "@".
    void SkipToHeader();
    ReadResult Report(ReadProblem& problem, ProblemKind kind, long long line, const std::string& what,
                      bool toNextHeader = false);
    ReadResult FaultOrEnd(ReadProblem& problem, bool inRecord);
    // Follows where the last gzip member began: at the start of each record, and at a failed check.
    void NoteRecordStart(long long headerLine);
    long FirstRecordOfMember() const;

    LineInput input_;
    Format format_ = Format::Unknown;
    std::string_view line_;
    bool havePending_ = false;  // line_ holds a line read ahead (a header)
    bool done_ = false;
    long count_ = 0;            // records begun
    long long memberLine_ = 0;  // LineInput::MemberFirstLine at the last record's start
    long memberRecord_ = 0;     // the first record that holds a line of that member
    size_t maxFasta_ = 0, maxFastq_ = 0;
};

// The sample a file stands for: its name without directory, without ".gz" or ".bgz", and
// without ".fastq", ".fq", ".fasta", ".fa", ".fna" or ".fas"; "stdin" for "-".
std::string SampleName(const std::string& path);

}  // namespace varigap::seqio

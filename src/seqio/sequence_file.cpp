// Sequence files for batch runs: FASTA or FASTQ (multi-line both), plain, gzip or BGZF,
// recognised by content; records in file order, bad input reported by record number.
#include "seqio/sequence_file.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "core/bases.h"
#include "core/every_byte.h"

namespace varigap::seqio {

namespace {

// What a byte is to the reader: a base, a control byte that no text file holds, or other text.
enum : unsigned char { kText = 0, kBase = 1, kControl = 2 };
constexpr std::array<unsigned char, 256> kByteClass = [] {
    std::array<unsigned char, 256> m{};
    for (int c = 0; c < 0x20; ++c) m[static_cast<size_t>(c)] = kControl;
    for (int c : {'\t', '\n', '\v', '\f', '\r'}) m[static_cast<size_t>(c)] = kText;
    m[0x7F] = kControl;
    for (char c : BASEALPHABET) m[static_cast<unsigned char>(c)] = kBase;
    return m;
}();
static_assert(kByteClass[0] == kControl && kByteClass['\t'] == kText && kByteClass['N'] == kBase);

unsigned char ClassOf(char c) { return kByteClass[static_cast<unsigned char>(c)]; }

// "!" to "~"; the byte, or each byte of a vector, as unsigned.
auto IsQuality = [](auto c) { return static_cast<decltype(c)>(c - '!') <= '~' - '!'; };

bool HasControl(std::string_view s) {
    // Most text has no byte below a blank (Tabs are rare in names) and no DEL.
    if (EveryByte(s, [](auto c) { return (c >= ' ') & (c != 0x7F); })) return false;
    for (char c : s)
        if (ClassOf(c) == kControl) return true;
    return false;
}

// Appends a line of bases, keeping no more than `max` in all (0: no limit); counts them all.
void AppendBases(std::string& bases, std::string_view line, size_t& count, size_t max) {
    if (max == 0) bases.append(line);
    else if (count < max) bases.append(line.substr(0, max - count));
    count += line.size();
}

bool AllBases(std::string_view s) {
    // Most reads are written in A, C, G, T and N.
    if (EveryByte(s, [](auto c) { return (c == 'A') | (c == 'C') | (c == 'G') | (c == 'T') | (c == 'N'); }))
        return true;
    for (char c : s)
        if (ClassOf(c) != kBase) return false;
    return true;
}

// Appends the base letters of a line of bases (the usual line at once); `other(c, class)` is
// told of every other character.
template <class Other>
void AppendBaseLine(std::string& bases, std::string_view line, size_t& count, size_t max, Other&& other) {
    if (AllBases(line)) {
        AppendBases(bases, line, count, max);
        return;
    }
    for (char c : line) {
        const unsigned char k = ClassOf(c);
        if (k == kBase) AppendBases(bases, std::string_view(&c, 1), count, max);
        else other(c, k);
    }
}

size_t SkipBlanks(std::string_view s, size_t i) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    return i;
}

bool IsBlank(std::string_view s) { return SkipBlanks(s, 0) == s.size(); }

// The name of a header line whose marker is at `marker`: what follows it and its blanks.
std::string_view HeaderName(std::string_view line, size_t marker) { return line.substr(SkipBlanks(line, marker + 1)); }

std::string Count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

bool SequenceFile::Open(const std::string& path, std::string& error) {
    format_ = Format::Unknown;
    havePending_ = done_ = false;
    count_ = memberRecord_ = 0;
    memberLine_ = 0;
    return input_.Open(path, error);
}

bool SequenceFile::Advance() { return input_.ReadLine(line_); }

ReadResult SequenceFile::Report(ReadProblem& problem, ProblemKind kind, long long line, const std::string& what,
                                bool toNextHeader) {
    problem = ReadProblem{.kind = kind, .record = count_, .line = line, .toNextHeader = toNextHeader, .what = what};
    return ReadResult::Problem;
}

ReadResult SequenceFile::FaultOrEnd(ReadProblem& problem, bool inRecord) {
    done_ = true;
    const InputFault fault = input_.Fault();
    if (fault == InputFault::None) return ReadResult::End;
    const long handedOn = inRecord ? count_ - 1 : count_;
    if (fault == InputFault::CheckFailed) {
        // The check at a member's end covers every byte of it: the records of the member have
        // been handed on, and none of them is known to be sound.
        problem = ReadProblem{.kind = ProblemKind::CheckFailed,
                              .line = input_.LineNumber(),
                              .wholeRecords = handedOn,
                              .firstOfMember = FirstRecordOfMember(),
                              .memberLine = input_.MemberFirstLine(),
                              .what = "the compressed data fails its check (CRC or length)"};
        return ReadResult::Fatal;
    }
    problem = ReadProblem{
        .kind = fault == InputFault::Truncated ? ProblemKind::Truncated : ProblemKind::Damaged,
        .record = inRecord ? count_ : 0,
        .line = input_.LineNumber(),
        .wholeRecords = handedOn,
        .what = fault == InputFault::Truncated ? "the compressed data breaks off (the file is truncated)"
                : fault == InputFault::Damaged ? "the compressed data is damaged"
                                               : "a line runs on for more than 1 GiB",
    };
    return ReadResult::Fatal;
}

void SequenceFile::NoteRecordStart(long long headerLine) {
    const long long m = input_.MemberFirstLine();
    if (m == memberLine_) return;
    // The member began after the last record's header: in that record, or at this one.
    memberLine_ = m;
    memberRecord_ = m < headerLine && count_ > 1 ? count_ - 1 : count_;
}

long SequenceFile::FirstRecordOfMember() const {
    const long long m = input_.MemberFirstLine();
    if (m == memberLine_) return memberRecord_;
    return count_ > 0 ? count_ : 1;  // it began inside the last record
}

ReadResult SequenceFile::FileProblem(ReadProblem& problem, ProblemKind kind, long long line, const std::string& what) {
    done_ = true;
    problem = ReadProblem{.kind = kind, .line = line, .what = what};
    return ReadResult::Problem;
}

bool SequenceFile::Detect(ReadProblem& problem, ReadResult& result) {
    // The first line that is not blank says which format this is; text before a FASTA
    // file's first name line is no part of any record.
    bool sawText = false;
    while (Advance()) {
        if (IsBlank(line_)) continue;
        if (HasControl(line_)) {
            result =
                FileProblem(problem, ProblemKind::Binary, input_.LineNumber(), "binary data, not FASTA or FASTQ text");
            return false;
        }
        if (line_[SkipBlanks(line_, 0)] == '>') format_ = Format::Fasta;
        else if (!sawText && line_[0] == '@') format_ = Format::Fastq;
        sawText = true;
        if (format_ != Format::Unknown) {
            havePending_ = true;
            return true;
        }
    }
    if (input_.Fault() != InputFault::None) result = FaultOrEnd(problem, false);
    else if (sawText) result = FileProblem(problem, ProblemKind::NoRecords, 0, "no FASTA or FASTQ record in it");
    else result = FileProblem(problem, ProblemKind::Empty, 0, "the file is empty");
    return false;
}

ReadResult SequenceFile::Next(SeqRecord& record, ReadProblem& problem) {
    if (done_) return ReadResult::End;
    ReadResult result = ReadResult::End;
    if (format_ == Format::Unknown && !Detect(problem, result)) return result;
    return format_ == Format::Fasta ? NextFasta(record, problem) : NextFastq(record, problem);
}

ReadResult SequenceFile::NextFasta(SeqRecord& record, ReadProblem& problem) {
    if (!havePending_) return FaultOrEnd(problem, false);
    havePending_ = false;
    record.number = ++count_;
    const long long headerLine = input_.LineNumber();
    NoteRecordStart(headerLine);
    record.name.assign(HeaderName(line_, SkipBlanks(line_, 0)));
    record.bases.clear();
    record.quals.clear();
    long long controlLine = HasControl(record.name) ? headerLine : 0;
    size_t numBases = 0;
    while (Advance()) {
        const size_t i = SkipBlanks(line_, 0);
        if (i < line_.size() && line_[i] == '>') {
            havePending_ = true;
            break;
        }
        AppendBaseLine(record.bases, line_, numBases, maxFasta_, [&](char, unsigned char k) {
            if (k == kControl && controlLine == 0) controlLine = input_.LineNumber();
        });
    }
    // A record that the end of a broken stream cut short is no record.
    if (!havePending_ && input_.Fault() != InputFault::None) return FaultOrEnd(problem, true);
    if (controlLine) return Report(problem, ProblemKind::Binary, controlLine, "binary data in the record");
    if (maxFasta_ && numBases > maxFasta_)
        return Report(problem, ProblemKind::TooLong, headerLine,
                      "the read has " + std::to_string(numBases) + " bases, more than the " +
                          std::to_string(maxFasta_) + " that can be analysed");
    return ReadResult::Record;
}

void SequenceFile::SkipToHeader() {
    while (Advance())
        if (!line_.empty() && line_[0] == '@') {
            havePending_ = true;
            return;
        }
}

ReadResult SequenceFile::NextFastq(SeqRecord& record, ReadProblem& problem) {
    if (!havePending_) {
        do {
            if (!Advance()) return FaultOrEnd(problem, false);
        } while (IsBlank(line_));
    }
    havePending_ = false;
    if (line_[0] != '@') {
        ++count_;  // the text stands where this record should begin
        const long long at = input_.LineNumber();
        const bool control = HasControl(line_);
        SkipToHeader();
        if (!havePending_ && input_.Fault() != InputFault::None) return FaultOrEnd(problem, true);
        return Report(problem, control ? ProblemKind::Binary : ProblemKind::NoHeader, at,
                      control ? "binary data where a record should begin"
                              : "a line that does not start with \"@\" where a record should begin",
                      true);
    }
    record.number = ++count_;
    const long long headerLine = input_.LineNumber();
    NoteRecordStart(headerLine);
    record.name.assign(HeaderName(line_, 0));
    record.bases.clear();
    record.quals.clear();

    // Whatever is wrong inside the record, its lines are read to its end, so that the next
    // record starts in step; the first fault found is the one reported.
    ProblemKind bad = ProblemKind::Empty;
    long long badLine = 0;
    std::string badWhat;
    auto note = [&](ProblemKind kind, const std::string& what) {
        if (badLine) return;
        bad = kind;
        badLine = input_.LineNumber();
        badWhat = what;
    };
    if (HasControl(record.name)) note(ProblemKind::Binary, "binary data in the header");

    size_t numBases = 0, baseLines = 0;
    bool plus = false;
    while (Advance()) {
        if (!line_.empty() && line_[0] == '+') {
            plus = true;
            break;
        }
        if (!line_.empty() && line_[0] == '@') {  // the next record's header
            havePending_ = true;
            break;
        }
        ++baseLines;
        AppendBaseLine(record.bases, line_, numBases, maxFastq_, [&](char c, unsigned char k) {
            if (k == kControl) note(ProblemKind::Binary, "binary data in the bases");
            else note(ProblemKind::BadBase, std::string("\"") + c + "\" in the bases is not a base letter");
        });
    }
    if (!plus) {
        if (!havePending_ && input_.Fault() != InputFault::None) return FaultOrEnd(problem, true);
        return Report(
            problem, ProblemKind::NoPlusLine, headerLine,
            std::string("the bases are not followed by a \"+\" line") + (havePending_ ? "" : " (the file ends)"));
    }

    size_t numQuals = 0;
    if (numBases == 0) {
        // An empty read has an empty quality line, which may as well be missing.
        if (Advance()) {
            if (!line_.empty() && line_[0] == '@') havePending_ = true;
            else numQuals = line_.size();
        }
    }
    // Bases on one line (the norm) have their qualities on the one line after "+", whatever its
    // length: a short quality line must not take the next header for the rest of its qualities.
    // Bases wrapped over several lines have theirs wrapped too, read up to the count of bases.
    const bool oneLine = baseLines == 1 && numBases > 0;
    if (oneLine) {
        if (!Advance()) {
            if (input_.Fault() != InputFault::None) return FaultOrEnd(problem, true);
            return Report(problem, ProblemKind::QualityLength, headerLine,
                          "0 quality characters for " + Count(numBases, "base", "bases") + " (the file ends)");
        }
    }
    // An "@" line of another length in its place is the next record's header: no qualities.
    const bool noQualities = oneLine && !line_.empty() && line_[0] == '@' && line_.size() != numBases;
    if (noQualities) havePending_ = true;
    for (bool first = !noQualities; oneLine ? first : numQuals < numBases; first = false) {
        if (!oneLine && !Advance()) {
            if (input_.Fault() != InputFault::None) return FaultOrEnd(problem, true);
            return Report(problem, ProblemKind::QualityLength, headerLine,
                          Count(numQuals, "quality character", "quality characters") + " for " +
                              Count(numBases, "base", "bases") + " (the file ends)");
        }
        // A line that starts with "@" and would overrun the bases is the next record's header.
        if (!oneLine && !line_.empty() && line_[0] == '@' && numQuals + line_.size() > numBases) {
            havePending_ = true;
            break;
        }
        if (!EveryByte(line_, IsQuality))
            for (char c : line_) {
                if (IsQuality(static_cast<unsigned char>(c))) continue;
                if (ClassOf(c) == kControl) note(ProblemKind::Binary, "binary data in the quality line");
                else note(ProblemKind::BadQuality, std::string("\"") + c + "\" is not a quality character");
            }
        if (numQuals < record.bases.size())
            record.quals.append(line_.substr(0, std::min(line_.size(), record.bases.size() - numQuals)));
        numQuals += line_.size();
    }
    bool fileEnds = false;
    if (oneLine && !noQualities && numQuals != numBases) {
        // The record ends at its quality line; the next one begins at the next "@" line.
        if (!Advance()) fileEnds = input_.Fault() == InputFault::None;
        else if (!line_.empty() && line_[0] == '@') havePending_ = true;
        else SkipToHeader();
    }
    if (badLine) return Report(problem, bad, badLine, badWhat);
    if (numQuals != numBases)
        return Report(problem, ProblemKind::QualityLength, headerLine,
                      Count(numQuals, "quality character", "quality characters") + " for " +
                          Count(numBases, "base", "bases") + (fileEnds ? " (the file ends)" : ""));
    if (maxFastq_ && numBases > maxFastq_)
        return Report(problem, ProblemKind::TooLong, headerLine,
                      "the read has " + std::to_string(numBases) + " bases, more than the " +
                          std::to_string(maxFastq_) + " that can be analysed");
    return ReadResult::Record;
}

std::string SampleName(const std::string& path) {
    if (path == "-") return "stdin";
    std::string name = std::filesystem::path(path).filename().string();
    auto strip = [&](std::initializer_list<const char*> suffixes) {
        for (std::string s : suffixes)
            if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0) {
                name.erase(name.size() - s.size());
                return;
            }
    };
    strip({".gz", ".bgz"});
    strip({".fastq", ".fq", ".fasta", ".fa", ".fna", ".fas"});
    return name;
}

}  // namespace varigap::seqio

// What can be wrong in a sequence file, put into words.
#include "seqio/read_problem.h"

namespace varigap::seqio {

namespace {

std::string Count(long n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

bool StopsReading(const ReadProblem& p) {
    return p.kind == ProblemKind::Truncated || p.kind == ProblemKind::Damaged || p.kind == ProblemKind::CheckFailed;
}

// A member that failed its check at its end: every record of it was handed on, none is sound.
std::string CheckFailedText(const ReadProblem& p) {
    const long first = p.firstOfMember, last = p.wholeRecords;
    return "the compressed data fails its check (CRC or length) at the end of the gzip member that begins at line " +
           std::to_string(p.memberLine) + ", after line " + std::to_string(p.line) + ": " +
           (first > last ? std::string("no record of it had been read whole")
                         : "none of its records is known to be sound: " +
                               (first == last ? "record " + std::to_string(first)
                                              : "records " + std::to_string(first) + " to " + std::to_string(last)) +
                               ", whose results were written before the check") +
           "; reading stopped there";
}

// A problem in one record, rather than in the stream or the file as a whole.
bool InRecord(const ReadProblem& p) { return p.record > 0 && !StopsReading(p); }

}  // namespace

std::string ProblemText(const ReadProblem& p, bool sayPassedOver) {
    if (p.kind == ProblemKind::CheckFailed) return CheckFailedText(p);
    if (StopsReading(p))
        return p.what +
               (p.record > 0 ? " in record " + std::to_string(p.record)
                             : " after record " + std::to_string(p.wholeRecords)) +
               ", after line " + std::to_string(p.line) + "; reading stopped there, " +
               Count(p.wholeRecords, "record", "records") + " read whole";
    if (InRecord(p)) {
        std::string text = "record " + std::to_string(p.record) + " (line " + std::to_string(p.line) + "): " + p.what;
        if (p.toNextHeader) text += "; passed over up to the next \"@\" line";
        else if (sayPassedOver) text += "; record passed over";
        return text;
    }
    if (p.kind == ProblemKind::Binary)
        return p.what + " (line " + std::to_string(p.line) + "); the file is passed over";
    return p.what;
}

std::string ProblemInFile(const std::string& file, const ReadProblem& p) {
    return "Sequence file \"" + file + "\"" + (InRecord(p) ? ", " : ": ") + ProblemText(p) + ".";
}

}  // namespace varigap::seqio

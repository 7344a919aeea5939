// Fuzzes the batch sequence reader (FASTA, FASTQ; plain, gzip, BGZF, told apart by content):
// whatever the bytes, records come numbered in order, each with bases of the alphabet (FASTA)
// or one quality character per base (FASTQ), none longer than the limit; a fatal problem ends
// the file, and the end stays the end. Blocks decompressed ahead (as other jobs do for the
// reader) change nothing that is read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "seqio/sequence_file.h"

using namespace varigap;

namespace {

// Reads the whole file; with `ahead`, decompresses that many blocks ahead before each record.
// Returns what was read, one line per record or problem.
std::string ReadAll(const std::string& path, size_t limit, int ahead) {
    seqio::SequenceFile file;
    std::string error, seen;
    if (!file.Open(path, error)) return "open: " + error;
    // A limit on the bases for every other input: long records are then passed over, reported.
    file.SetMaxBases(seqio::Format::Fasta, limit);
    file.SetMaxBases(seqio::Format::Fastq, limit);
    seqio::SeqRecord record;
    seqio::ReadProblem problem;
    long last = 0;
    for (int calls = 0; calls < 100000; ++calls) {
        for (int k = 0; k < ahead; ++k) file.ReadAhead();
        const seqio::ReadResult result = file.Next(record, problem);
        if (result == seqio::ReadResult::End || result == seqio::ReadResult::Fatal) {
            fuzz::Check(file.Next(record, problem) == seqio::ReadResult::End, "nothing after the end");
            return seen + (result == seqio::ReadResult::Fatal ? seqio::ProblemText(problem) : "end");
        }
        if (result == seqio::ReadResult::Problem) {
            fuzz::Check(!problem.what.empty(), "a problem says what it is");
            seen += seqio::ProblemText(problem) + "\n";
            continue;
        }
        fuzz::Check(record.number > last, "records numbered in file order");
        last = record.number;
        fuzz::Check(limit == 0 || record.bases.size() <= limit, "no record over the limit");
        if (file.FileFormat() == seqio::Format::Fasta) {
            fuzz::Check(fuzz::OnlyBases(record.bases) && record.quals.empty(), "FASTA: bases only");
        } else {
            fuzz::Check(record.quals.size() == record.bases.size(), "FASTQ: a quality for every base");
            for (char q : record.quals) fuzz::Check(q >= '!' && q <= '~', "FASTQ: qualities from ! to ~");
        }
        seen += record.name + " " + record.bases + " " + record.quals + "\n";
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratch();
    const std::string path = fuzz::WriteScratch("s", std::string_view(reinterpret_cast<const char*>(data), size));
    const size_t limit = size % 2 ? 64 : 0;
    const std::string plain = ReadAll(path, limit, 0);
    fuzz::Check(ReadAll(path, limit, 1 + static_cast<int>(size % 3)) == plain, "reading ahead changes nothing");
    return 0;
}

// Fuzzes the batch sequence reader (FASTA, FASTQ; plain, gzip, BGZF, told apart by content):
// whatever the bytes, records come numbered in order, each with bases of the alphabet (FASTA)
// or one quality character per base (FASTQ), none longer than the limit; a fatal problem ends
// the file, and the end stays the end.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "seqio/sequence_file.h"

using namespace varigap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratch();
    const std::string path = fuzz::WriteScratch("s", std::string_view(reinterpret_cast<const char*>(data), size));
    seqio::SequenceFile file;
    std::string error;
    if (!file.Open(path, error)) return 0;
    // A limit on the bases for every other input: long records are then passed over, reported.
    const size_t limit = size % 2 ? 64 : 0;
    file.SetMaxBases(seqio::Format::Fasta, limit);
    file.SetMaxBases(seqio::Format::Fastq, limit);
    seqio::SeqRecord record;
    seqio::ReadProblem problem;
    long last = 0;
    for (int calls = 0; calls < 100000; ++calls) {
        const seqio::ReadResult result = file.Next(record, problem);
        if (result == seqio::ReadResult::End || result == seqio::ReadResult::Fatal) {
            fuzz::Check(file.Next(record, problem) == seqio::ReadResult::End, "nothing after the end");
            break;
        }
        if (result == seqio::ReadResult::Problem) {
            fuzz::Check(!problem.message.empty(), "a problem says what it is");
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
    }
    return 0;
}

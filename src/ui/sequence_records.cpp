// Reading a sequence file's records for the window.
#include "ui/sequence_records.h"

#include <algorithm>
#include <filesystem>

#include "seqio/sequence_file.h"

namespace varigap::ui {

namespace {

std::string KindOf(const seqio::SequenceFile& file) {
    std::string kind = file.FileFormat() == seqio::Format::Fastq ? "FASTQ" : "FASTA";
    switch (file.FileCompression()) {
        case seqio::Compression::Gzip: kind += ", gzip"; break;
        case seqio::Compression::Bgzf: kind += ", BGZF"; break;
        case seqio::Compression::None: break;
    }
    return kind;
}

}  // namespace

void SequenceRecords::Clear() { *this = SequenceRecords{}; }

bool SequenceRecords::Read(const std::string& file, std::string& error,
                           const std::function<bool(long long, long long)>& progress) {
    Clear();
    seqio::SequenceFile in;
    std::string why;
    if (!in.Open(file, why)) {
        error = "Sequence file \"" + file + "\" cannot be read: " + why;
        return false;
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    const long long total = ec ? 0 : static_cast<long long>(size);
    path = file;
    seqio::SeqRecord record;
    seqio::ReadProblem problem;
    for (long n = 0;; ++n) {
        const seqio::ReadResult r = in.Next(record, problem);
        if (r == seqio::ReadResult::End) break;
        if (r == seqio::ReadResult::Record) {
            names.push_back(std::move(record.name));
            bases.push_back(std::move(record.bases));
            numbers.push_back(record.number);
        } else {
            problems.push_back(seqio::ProblemInFile(file, problem));
            if (r == seqio::ReadResult::Fatal) break;
        }
        // Told every 4,096 records: often enough for a bar, seldom enough to cost nothing.
        if (progress && n % 4096 == 4095 && !progress(in.FileOffset(), total)) break;
    }
    kind = KindOf(in);
    if (names.empty() && !problems.empty()) {
        error = problems.front();
        return false;
    }
    return true;
}

int SequenceRecords::Find(const std::string& name) const {
    auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

}  // namespace varigap::ui

// Sequence records for the builder, read by the sequence files' reader: the first problem
// in a file stops the build, since a template made from part of the records would mislead.
#include "builder/sequence_source.h"

#include "builder/line_reader.h"
#include "seqio/sequence_file.h"

namespace varigap::builder {

void ForEachRecord(const std::string& path, const std::function<void(const SeqRecord&)>& fn) {
    seqio::SequenceFile file;
    std::string error;
    if (!file.Open(path, error)) throw InputError(Where(path, 0, "cannot open: " + error));
    seqio::SeqRecord record;
    seqio::ReadProblem problem;
    for (;;) {
        switch (file.Next(record, problem)) {
            case seqio::ReadResult::Record:
                fn(SeqRecord{record.name, record.bases, record.quals, record.number});
                break;
            case seqio::ReadResult::End: return;
            case seqio::ReadResult::Problem:
            case seqio::ReadResult::Fatal:
                // A build does not pass a record over: it stops at the first.
                throw InputError(Where(path, 0, seqio::ProblemText(problem, false)));
        }
    }
}

}  // namespace varigap::builder

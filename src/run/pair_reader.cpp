// Read pairs of a batch run, with the mates' names checked against each other.
#include "run/pair_reader.h"

#include "core/messages.h"
#include "run/job_messages.h"
#include "run/run_outputs.h"
#include "seqio/mate_pairs.h"

namespace varigap::run {

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

bool PairReader::OpenFiles(Pair& pair) {
    for (const bool two : {false, true}) {
        if (two && !TwoFiles()) break;
        seqio::SequenceFile& file = two ? two_ : one_;
        const std::string& path = two ? PathTwo() : PathOne();
        std::string error;
        if (!file.Open(path, error)) {
            pair.messages = MessageLine(Message{"Varigap", "Sequence file " + Quoted(path) + ": " + error + "."});
            pair.file = index_;
            NextFiles();
            return false;
        }
        file.SetMaxBases(seqio::Format::Fastq, maxBases_);
        file.SetMaxBases(seqio::Format::Fasta, maxBases_);
    }
    open_ = true;
    pairs_ = 0;
    return true;
}

void PairReader::NextFiles() {
    open_ = false;
    index_ += TwoFiles() ? 2 : 1;
}

long long PairReader::Consumed() const {
    return doneBytes_ + (open_ ? one_.FileOffset() + (TwoFiles() ? two_.FileOffset() : 0) : 0);
}

PairReader::Got PairReader::Stop(Pair& pair, const std::string& path, const std::string& text) {
    pair.messages +=
        MessageLine(Message{"Varigap", "Sequence file " + Quoted(path) + text + "; reading stopped there."});
    stopped_ = true;
    return Got::Stop;
}

PairReader::Got PairReader::Problem(Pair& pair, bool two, const seqio::ReadProblem& p, seqio::ReadResult got) {
    pair.messages += MessageLine(Message{"Varigap", seqio::ProblemInFile(two ? PathTwo() : PathOne(), p)});
    pair.file = index_;
    if (got == seqio::ReadResult::Fatal) {
        stopped_ = true;
        return Got::Stop;
    }
    if (pair.skip == exports::Skip::None) pair.skip = SkipOf(p);
    return Got::Problem;
}

PairReader::Got PairReader::Next(Pair& pair) {
    using seqio::ReadResult;
    pair.messages.clear();
    pair.skip = exports::Skip::None;
    while (!stopped_ && index_ < opts_.files.size()) {
        if (!open_ && !OpenFiles(pair)) return Got::Problem;
        seqio::ReadProblem p1, p2;
        const ReadResult got1 = one_.Next(pair.one, p1);
        if (got1 == ReadResult::End) {
            if (TwoFiles()) {
                const ReadResult got2 = two_.Next(pair.two, p2);
                if (got2 == ReadResult::Record)
                    return Stop(pair, PathTwo(),
                                " has more records than " + Quoted(PathOne()) + ": record " +
                                    std::to_string(pair.two.number) + " " + Quoted(pair.two.name) + " has no mate");
                if (got2 != ReadResult::End) return Problem(pair, true, p2, got2);
            }
            doneBytes_ += one_.FileOffset() + (TwoFiles() ? two_.FileOffset() : 0);
            NextFiles();
            continue;
        }
        if (got1 == ReadResult::Fatal) return Problem(pair, false, p1, got1);
        const ReadResult got2 = (TwoFiles() ? two_ : one_).Next(pair.two, p2);
        if (got2 == ReadResult::End) {
            if (got1 == ReadResult::Problem) Problem(pair, false, p1, got1);
            const std::string one = got1 == ReadResult::Record
                                        ? "record " + std::to_string(pair.one.number) + " " + Quoted(pair.one.name)
                                        : "record " + std::to_string(p1.record);
            return TwoFiles()
                       ? Stop(pair, PathTwo(), " ends before the mate of " + one + " of " + Quoted(PathOne()))
                       : Stop(pair, PathOne(), ", " + one + " has no mate: the file holds an odd number of records");
        }
        ++pairs_;
        Got got = Got::Pair;
        if (got1 != ReadResult::Record) got = Problem(pair, false, p1, got1);
        if (got2 != ReadResult::Record) {
            const Got second = Problem(pair, true, p2, got2);
            if (got != Got::Stop) got = second;
        }
        if (got != Got::Pair) return got;
        if (seqio::PairName(pair.one.name) != seqio::PairName(pair.two.name))
            return Stop(pair, PathTwo(),
                        ", record " + std::to_string(pair.two.number) + ": the name " +
                            Quoted(std::string(seqio::PairName(pair.two.name))) + " is not that of its mate, " +
                            Quoted(std::string(seqio::PairName(pair.one.name))) + " (record " +
                            std::to_string(pair.one.number) + " of " + Quoted(PathOne()) +
                            "): the mates are out of step");
        pair.file = index_;
        pair.number = pairs_;
        return Got::Pair;
    }
    return Got::End;
}

}  // namespace varigap::run

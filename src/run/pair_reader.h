// Read pairs of a batch run: two files read in step, or one file's records two by two, with
// the mates' names checked against each other.
#pragma once

#include <string>

#include "export/analysed_read.h"
#include "run/run_settings.h"
#include "seqio/sequence_file.h"

namespace varigap::run {

class PairReader {
public:
    enum class Got {
        Pair,     // the next pair
        Problem,  // a mate could not be read: the pair is passed over and reading goes on
        Stop,     // a file broke off or the files are not in step: no more pairs follow
        End,      // every pair has been read
    };
    // A pair, or the problem met instead.
    struct Pair {
        seqio::SeqRecord one, two;                 // mate 1 and mate 2 as read
        size_t file = 0;                           // index of the (first) file it was read from
        long number = 0;                           // 1-based position of the pair in its file(s)
        std::string messages;                      // message lines of a problem
        exports::Skip skip = exports::Skip::None;  // why a pair with a problem was passed over
    };

    // `opts.pairs` says how the files of `opts.files` hold the pairs; mates longer than
    // `maxBases` are problems.
    PairReader(const RunSettings& opts, size_t maxBases) : opts_(opts), maxBases_(maxBases) {}

    Got Next(Pair& pair);
    // Bytes of the files, as stored, consumed so far: for progress.
    long long Consumed() const;
    // Decompresses ahead in the file of mates 1 (see LineInput::ReadAhead).
    bool ReadAhead(bool onlyIfDry) { return one_.ReadAhead(onlyIfDry); }

private:
    bool TwoFiles() const { return opts_.pairs == PairInput::Files; }
    const std::string& PathOne() const { return opts_.files[index_]; }
    const std::string& PathTwo() const { return opts_.files[TwoFiles() ? index_ + 1 : index_]; }
    bool OpenFiles(Pair& pair);
    void NextFiles();
    Got Stop(Pair& pair, const std::string& path, const std::string& text);
    // A problem of mate 1 or 2 (`two`): reported; what to do with the pair.
    Got Problem(Pair& pair, bool two, const seqio::ReadProblem& p, seqio::ReadResult got);

    const RunSettings& opts_;
    size_t maxBases_;
    seqio::SequenceFile one_, two_;  // two_ is used only for files two by two
    size_t index_ = 0;
    bool open_ = false, stopped_ = false;
    long pairs_ = 0;
    long long doneBytes_ = 0;
};

}  // namespace varigap::run

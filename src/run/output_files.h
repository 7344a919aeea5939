// Output files of a batch: one name per record, written whole or not at all.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/read_result.h"
#include "core/state.h"

namespace varigap::run {

// Names the output files of a run in record order: MakeAlnumName(name, 8, ".txt"); a name
// without letters becomes "sequence" + record number + ".txt"; a name given out before in
// the run gets the first of "-2", "-3", ... before ".txt" that is free. Each name costs the
// same however many were given out: the reads of a run share their first letters.
class OutputNamer {
public:
    std::string Next(const std::string& seqName, long recordNumber);

private:
    std::unordered_set<std::string> used_;
    // Per stem, the number below which every "-N" is taken (names are never given back).
    std::unordered_map<std::string, long> nextNumber_;
};

// Whether `dir` can take the output files of a run, made when missing; false with the reason
// ("is not a folder", the operating system's reason).
bool UsableOutputFolder(const std::string& dir, std::string& reason);

// Writes the result `r` of record `seqName` to `fileName` in `dir` under a temporary name,
// renamed when complete.
// Unless `force`, an entry of that name (of any kind, also one that appears while the file is
// written) is left untouched. False (after a message) when the file was not written.
bool WriteRecordFile(const State& st, const ReadResult& r, const std::string& dir, const std::string& fileName,
                     const std::string& seqName, bool includeTaxa, bool force);

}  // namespace varigap::run

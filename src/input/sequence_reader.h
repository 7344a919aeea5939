// Sequence files (FASTA): listing the names, loading one sequence, streaming all records.
#pragma once

#include <string>

#include "core/item_list.h"
#include "core/messages.h"
#include "core/state.h"
#include "core/textfile.h"

namespace varigap {

// Opens the file sequenceFileName in sequenceFilePath, as OpenInputFile does; a UTF-16 file
// (told by its byte order mark) is refused with a message, since it would list nothing.
bool OpenSequenceFile(Reporter to, TextReader& file);
// Lists the names of the file sequenceFileName in sequenceFilePath into `names` and
// selects the first; empties actSeq. A missing file is reported and changes nothing.
// Run-time errors while listing are raised to the caller.
void LoadSequenceFile(State& st, ItemList& names);
// Sets actSeq to the bases of the first sequence called `name`, reverse-complemented
// when `complement` is set; true when that worked. A missing file is reported and leaves
// actSeq unchanged; a run-time error while reading is reported and leaves actSeq empty,
// so that no half-read sequence is ever analysed.
bool LoadActSeq(State& st, const std::string& name, bool complement);

// Adds the name of every record to `names`, in file order; empties actSeq.
void ListSequenceNames(State& st, TextReader& file, ItemList& names);
// The cleaned bases of the first record called `name` (exact comparison); "" when none is.
void ReadSequenceBases(TextReader& file, const std::string& name, std::string& bases);

// Reads every record of a FASTA file once, in file order (for batch analysis). Names and
// bases follow the rules of the readers above; lines before the first record are ignored.
class FastaStream {
public:
    explicit FastaStream(TextReader& file) : file_(file) {}
    // The next record's name and cleaned bases; false after the last record.
    bool Next(std::string& name, std::string& bases);

private:
    TextReader& file_;
    std::string pending_;  // name of the record whose name line has been read already
    bool havePending_ = false;
};

}  // namespace varigap

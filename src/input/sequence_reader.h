// Sequence files (FASTA): listing the names, loading one sequence, streaming all records.
#pragma once

#include <string>

#include "core/item_list.h"
#include "core/state.h"
#include "core/textfile.h"

namespace varigap {

// Lists the names of the file sequenceFileName in sequenceFilePath into `names` and
// selects the first; empties actSeq. A missing file is reported and changes nothing.
void LoadSequenceFile(State& st, ItemList& names);
// Sets actSeq to the bases of the first sequence called `name`, reverse-complemented
// when `complement` is set. A missing file is reported and leaves actSeq unchanged.
void LoadActSeq(State& st, const std::string& name, bool complement);

void ListSequenceNames(State& st, TextReader& file, ItemList& names);
void ReadSequenceBases(TextReader& file, const std::string& name, std::string& bases);

// Reads every record of a FASTA file once, in file order (for batch analysis).
class FastaStream {
public:
    explicit FastaStream(TextReader& file) : file_(file) {}
    // The next record's name and cleaned bases; false after the last record.
    bool Next(std::string& name, std::string& bases);

private:
    TextReader& file_;
    std::string pending_;
    bool havePending_ = false;
};

}  // namespace varigap

// Reading the sequence an entry of the sequence list stands for: the record at that place in
// the file, so that records with the same name (or none) are each analysed as themselves.
#pragma once

#include <string>

#include "core/state.h"

namespace varigap::ui {

// Sets actSeq to the bases of record `index` (0-based, in file order) of the sequence file,
// reverse-complemented when `complement` is set; true when that worked. When that record is
// not called `name` any more (the file changed since it was listed), the first record called
// `name` is read instead, as for a typed name. Failures are reported as LoadActSeq reports them.
bool LoadListedSeq(State& st, int index, const std::string& name, bool complement);

}  // namespace varigap::ui

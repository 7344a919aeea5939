// Output files: header, FEATURES block of the display lines, ORIGIN block of the bases.
#pragma once

#include <string>

#include "core/state.h"
#include "core/textfile.h"

namespace varigap {

// `num` right-aligned with blanks to the width of `maxNum`.
std::string PaddedNumber(State& st, Integer num, Integer maxNum);
void WriteAnnotation(State& st, TextWriter& out, bool includeTaxa);
void WriteSequence(State& st, TextWriter& out);
// The whole file: `fileName` is the name without directory, `seqName` the analysed sequence's name.
void WriteOutputFileText(State& st, TextWriter& out, const std::string& fileName, const std::string& seqName,
                         bool includeTaxa);

}  // namespace varigap

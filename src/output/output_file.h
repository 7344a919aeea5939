// Output files: header, FEATURES block of the display lines, ORIGIN block of the bases.
#pragma once

#include <string>
#include <vector>

#include "core/state.h"
#include "core/textfile.h"

namespace varigap {

// `num` right-aligned with blanks to the width of `maxNum`.
std::string PaddedNumber(State& st, Integer num, Integer maxNum);
// The display lines the FEATURES block annotates, by segment number, in order: from the first
// anchor on, every line whose positions are known and that starts inside the sequence.
std::vector<int> AnnotatedSegments(const State& st);
// A display line's base range as the FEATURES block writes it: "101..125", or "100[DEL]101"
// for a line without bases.
std::string FeatureRange(const SSegment& s);
void WriteAnnotation(State& st, TextWriter& out, bool includeTaxa);
void WriteSequence(State& st, TextWriter& out);
// The whole file: `fileName` is the name without directory, `seqName` the analysed sequence's
// name, `complemented` whether actSeq is the reverse complement of the sequence as read. After
// the two header lines come comment lines that readers of the format skip: one when the
// complement was analysed, one listing the annotated ranges whose placement is uncertain ("?").
void WriteOutputFileText(State& st, TextWriter& out, const std::string& fileName, const std::string& seqName,
                         bool includeTaxa, bool complemented);

}  // namespace varigap

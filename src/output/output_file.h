// Output files: header, FEATURES block of the display lines, ORIGIN block of the bases, written
// from the result of an analysis.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/read_result.h"
#include "core/state.h"
#include "core/textfile.h"

namespace varigap {

// `st` holds the template table a result refers to, and says where logic errors are reported.

// `num` right-aligned with blanks to the width of `maxNum`.
std::string PaddedNumber(const State& st, Integer num, Integer maxNum);
// The display lines the FEATURES block annotates, by segment number, in order: from the first
// anchor on, every line whose positions are known and that starts inside the sequence.
std::vector<int> AnnotatedSegments(const ReadResult& r);
// Why `r` gives no annotated output file, in words that follow "nothing to annotate: ": "" when
// a conserved region of the template applied was found and the FEATURES block has lines. A file
// of an analysis that placed nothing would name the template and annotate nothing.
std::string WhyNothingToAnnotate(const State& st, const ReadResult& r);
// A display line's base range as the FEATURES block writes it: "101..125", or "100[DEL]101"
// for a line without bases.
std::string FeatureRange(const SSegment& s);
void WriteAnnotation(const State& st, const ReadResult& r, TextWriter& out, bool includeTaxa);
void WriteSequence(const State& st, std::string_view sequence, TextWriter& out);
// The whole file: `fileName` is the name without directory, `seqName` the analysed sequence's
// name. After the two header lines come comment lines that readers of the format skip: one when
// the reverse complement of the read was analysed, one listing the annotated ranges whose
// placement is uncertain ("?").
void WriteOutputFileText(const State& st, const ReadResult& r, TextWriter& out, const std::string& fileName,
                         const std::string& seqName, bool includeTaxa);

}  // namespace varigap

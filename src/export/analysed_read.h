// One record of a batch run as the outputs see it, in record order: its name, sample, bases
// and qualities, and the result of its analysis.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/read_result.h"

namespace varigap::exports {

// Why a record was passed over instead of analysed.
enum class Skip { None, TooLong, Empty, BadLetters, Malformed };

// What became of a read pair (--pairs, --interleaved): merged, or why its mates were not.
enum class PairFate { Single, Merged, NoOverlap, MateTooShort };

struct AnalysedRead {
    long number = 0;  // 1-based position in the run
    std::string_view name;
    size_t sample = 0;  // index of its sample among the run's samples
    std::string_view sampleName;
    std::string_view bases, quals;       // as read; quals empty for FASTA
    const ReadResult* result = nullptr;  // nullptr for a record passed over
    Skip skip = Skip::None;
    PairFate pair = PairFate::Single;
};

}  // namespace varigap::exports

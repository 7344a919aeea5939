// What the outputs of a batch run need of one analysed read: its display lines as positions in
// the read, flags and selected variants. The same for identical reads, so kept with them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varigap::exports {

enum class LineKind : char { Conserved, Variable, Confused, None };

// One display line.
struct LineFacts {
    LineKind kind = LineKind::None;
    char flag = '?';  // ':' placed, '?' uncertain, '-' beside a trimmed read (no positions)
    int line = 0;     // display line number
    int first = 0;    // the template region (1-based, template order) it shows; Confused: its first
    int count = 0;    // template regions shown: 1 for a CR or VR, 0 for None
    // In the read as analysed (template orientation), 1-based; end = start - 1 for an empty
    // stretch (a deleted variable region). 0 and -1 beside a trimmed read.
    int start = 0, end = -1;
    std::string variant, taxa;  // Variable: the selected variant ("<Deletion>" for the empty one)
};

struct ReadFacts {
    bool analysed = false;  // a template was applied
    bool reverse = false;   // the reverse complement of the read was analysed
    bool matched = false;   // the template applied matched bases of the read (a CR was found)
    int templateNum = 0;    // the template applied, 0 when none
    int length = 0;         // of the read (trimmed reads: the read alone)
    std::vector<LineFacts> lines;

    size_t Bytes() const;  // memory held, for the bound of the cache of identical reads
};

// Why a record was passed over instead of analysed.
enum class Skip { None, TooLong, Empty, BadLetters, Malformed };

// One record as the outputs see it, in record order.
struct AnalysedRead {
    long number = 0;  // 1-based position in the run
    std::string_view name;
    size_t sample = 0;  // index of its sample among the run's samples
    std::string_view sampleName;
    std::string_view bases, quals;     // as read; quals empty for FASTA
    const ReadFacts* facts = nullptr;  // nullptr for a record passed over
    Skip skip = Skip::None;
};

// Positions start..end of the read as analysed, as positions of the read as given (the same
// for a read analysed forward; mirrored for one analysed as its reverse complement).
inline void AsGiven(const ReadFacts& f, int start, int end, int& givenStart, int& givenEnd) {
    givenStart = f.reverse ? f.length - end + 1 : start;
    givenEnd = f.reverse ? f.length - start + 1 : end;
}

}  // namespace varigap::exports

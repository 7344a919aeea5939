// Mates of a read pair merged by their overlap into one read of the insert, in the orientation
// of the first mate, with a consensus of the bases both read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varigap::seqio {

// Why a pair was not merged.
enum class MergeOutcome {
    Merged,
    NoOverlap,     // no placement of the mates overlaps by kMinMateOverlap bases with few enough differences
    MateTooShort,  // a mate holds fewer than kMinMateOverlap bases
};

// The shortest overlap taken: a random match of 16 bases with at most 3 differences is rarer
// than one in 10^5 placements, however long the reads.
constexpr int kMinMateOverlap = 16;
// The most differences an overlap may hold: one in five of its bases, and never more than 10.
constexpr int kMaxMateDiffs = 10;
// The highest quality a merged base is given (Phred): what Illumina instruments write at most.
constexpr int kMaxMergedQuality = 41;

struct MergedMates {
    std::string bases, quals;  // quals empty when a mate has none (FASTA)
    // 1-based positions in `bases`: mate 1 read 1..mate1Last, mate 2 mate2First..bases.size().
    int mate1Last = 0, mate2First = 0;
};

// Merges mate 1 (`bases1`, `quals1`) with mate 2 (as read, from the other end of the insert).
// The placement kept is the one of the best score (bases that agree, less three for each that
// differs; N neither) and, on a tie, of the longer overlap. Placements where the mates share a
// word of kSeedLength bases are tried first, every other placement only when none of them
// holds. Mates that run past each other (an insert shorter than a read) are cut where the other
// mate starts: what lies beyond is adapter. Where the mates disagree the base of the higher
// quality is taken (mate 1's on a tie); the quality of a base read by both is the posterior of
// the paired-read model (Edgar & Flyvbjerg, 2015): for agreeing bases of error probabilities p
// and q, p*q/3 / (1 - p - q + 4pq/3); for disagreeing ones, the better of error probability p,
// p(1 - q/3) / (p + q - 4pq/3). One merger per thread: it keeps its scratch between pairs.
class MateMerger {
public:
    // 4^7 words: the table of where mate 1 holds each (64 KiB) stays in the core's cache.
    static constexpr int kSeedLength = 7;

    MergeOutcome Merge(std::string_view bases1, std::string_view quals1, std::string_view bases2,
                       std::string_view quals2, MergedMates& out);

private:
    // Whether the placement at `offset` holds; its score then.
    bool Holds(int offset, int& score) const;

    std::string r2_;                      // mate 2 reverse complemented
    std::vector<unsigned char> c1_, c2_;  // bases as 0-3 (A, C, G, T), 4 for any other letter
    std::vector<unsigned> seen_;          // by word: the pair (stamp, high half) and where mate 1 holds it (low half)
    std::vector<unsigned short> votes_;   // by placement: words shared
    unsigned stamp_ = 0;
};

}  // namespace varigap::seqio

// Fuzzes the merger of read pairs: whatever the bases and qualities of two mates, a merge
// overlaps them by at least the shortest overlap, takes every base from one mate or the other
// (mate 2 as its reverse complement), gives a quality to every base when both mates have
// them, within the cap where both read a base A, C, G or T, and is the same from a merger that has merged
// other pairs before as from a fresh one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/complement.h"
#include "fuzz_support.h"
#include "seqio/mate_merge.h"

using namespace varigap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Parts: mate 1's bases and qualities, mate 2's bases and qualities.
    const std::vector<std::string> p = fuzz::Parts(data, size, 4);
    const std::string& bases1 = p[0];
    const std::string& quals1 = p[1];
    const std::string& bases2 = p[2];
    const std::string& quals2 = p[3];
    static seqio::MateMerger used;  // kept across inputs, as a job keeps its merger
    seqio::MateMerger fresh;
    seqio::MergedMates merged, again;
    const seqio::MergeOutcome outcome = used.Merge(bases1, quals1, bases2, quals2, merged);
    fuzz::Check(fresh.Merge(bases1, quals1, bases2, quals2, again) == outcome, "the same outcome from a fresh merger");
    fuzz::Check(again.bases == merged.bases && again.quals == merged.quals && again.mate1Last == merged.mate1Last &&
                    again.mate2First == merged.mate2First,
                "the same merge from a fresh merger");
    if (outcome != seqio::MergeOutcome::Merged) {
        fuzz::Check(merged.bases.empty() && merged.quals.empty(), "nothing merged: nothing written");
        fuzz::Check(outcome == seqio::MergeOutcome::NoOverlap ||
                        (bases1.size() < seqio::kMinMateOverlap || bases2.size() < seqio::kMinMateOverlap),
                    "a mate too short is shorter than the shortest overlap");
        return 0;
    }
    const int length = static_cast<int>(merged.bases.size());
    const int len1 = static_cast<int>(bases1.size()), len2 = static_cast<int>(bases2.size());
    fuzz::Check(merged.mate1Last == std::min(len1, length), "mate 1 reads the merge from its start");
    fuzz::Check(merged.mate2First >= 1 && length - merged.mate2First + 1 <= len2, "mate 2 reads the merge to its end");
    fuzz::Check(merged.mate1Last - merged.mate2First + 1 >= seqio::kMinMateOverlap, "the mates overlap enough");
    const bool quals = quals1.size() == bases1.size() && quals2.size() == bases2.size();
    fuzz::Check(merged.quals.size() == (quals ? merged.bases.size() : 0), "a quality for every base, when both have");
    const std::string r2 = ReverseComplement(bases2);
    for (int i = 0; i < length; ++i) {
        const size_t at = static_cast<size_t>(i);
        const bool in1 = i < merged.mate1Last, in2 = i >= merged.mate2First - 1;
        const char b = merged.bases[at];
        // Mate 2 starts at mate2First, or before the merge where the mates ran past each other.
        const size_t j = static_cast<size_t>(i + len2 - length);
        fuzz::Check((in1 && b == bases1[at]) || (in2 && b == r2[j]), "every base from a mate");
        // Where an N (or another letter) meets a base, the base keeps its own quality.
        auto base = [](char c) { return std::string_view("ACGTacgt").find(c) != std::string_view::npos; };
        if (quals && in1 && in2 && base(bases1[at]) && base(r2[j])) {
            const char q = merged.quals[at];
            fuzz::Check(q >= '!' && q <= '!' + seqio::kMaxMergedQuality, "a base read twice: a quality within the cap");
        }
    }
    return 0;
}

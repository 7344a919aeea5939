// Mates of a read pair merged by their overlap.
#include "seqio/mate_merge.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/complement.h"

namespace varigap::seqio {

namespace {

constexpr int kQualityOffset = 33;
constexpr int kHighestQuality = 93;  // '~', the highest FASTQ quality character

bool IsBase(char c) {
    switch (c) {
        case 'A':
        case 'C':
        case 'G':
        case 'T':
        case 'a':
        case 'c':
        case 'g':
        case 't': return true;
        default: return false;
    }
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The merged quality of two reads of one base, [agree][q1][q2], as quality characters.
struct PosteriorTable {
    std::array<std::array<std::array<char, kHighestQuality + 1>, kHighestQuality + 1>, 2> q{};
    PosteriorTable() {
        auto error = [](int q) { return std::min(0.75, std::pow(10.0, -q / 10.0)); };
        for (int a = 0; a <= kHighestQuality; ++a)
            for (int b = 0; b <= kHighestQuality; ++b) {
                const double p = error(std::max(a, b)), r = error(std::min(a, b));  // p the better
                const double agree = p * r / 3 / (1 - p - r + 4 * p * r / 3);
                const double differ = p * (1 - r / 3) / (p + r - 4 * p * r / 3);
                for (int k = 0; k < 2; ++k) {
                    const double e = std::max(k ? agree : differ, 1e-10);
                    const long phred = std::lround(-10 * std::log10(e));
                    q[static_cast<size_t>(k)][static_cast<size_t>(a)][static_cast<size_t>(b)] =
                        static_cast<char>(kQualityOffset + std::clamp<long>(phred, 0, kMaxMergedQuality));
                }
            }
    }
};

int Phred(char c) { return std::clamp(c - kQualityOffset, 0, kHighestQuality); }

// Differences of the overlap of mate 1 with mate 2 (reverse complemented) placed at `offset`,
// from `lo` to `hi` of mate 1; stops past `limit`. `same`: bases that agree.
int Differences(std::string_view b1, std::string_view r2, int offset, int lo, int hi, int limit, int& same) {
    int diffs = 0;
    same = 0;
    for (int i = lo; i < hi; ++i) {
        const char a = b1[static_cast<size_t>(i)], b = r2[static_cast<size_t>(i - offset)];
        if (!IsBase(a) || !IsBase(b)) continue;
        if (Upper(a) == Upper(b)) ++same;
        else if (++diffs > limit) break;
    }
    return diffs;
}

}  // namespace

MergeOutcome MergeMates(std::string_view bases1, std::string_view quals1, std::string_view bases2,
                        std::string_view quals2, MergedMates& out) {
    static const PosteriorTable table;  // built once, only read afterwards
    out.bases.clear();
    out.quals.clear();
    out.mate1Last = out.mate2First = 0;
    const int len1 = static_cast<int>(bases1.size()), len2 = static_cast<int>(bases2.size());
    if (len1 < kMinMateOverlap || len2 < kMinMateOverlap) return MergeOutcome::MateTooShort;
    const std::string r2 = ReverseComplement(std::string(bases2));
    const bool quals = quals1.size() == bases1.size() && quals2.size() == bases2.size() && !quals1.empty();

    // Mate 2 reverse complemented starts at `offset` of mate 1: negative where the mates run
    // past each other.
    int best = 0, bestScore = 0;
    bool found = false;
    for (int offset = len1 - kMinMateOverlap; offset >= kMinMateOverlap - len2; --offset) {
        const int lo = std::max(0, offset), hi = std::min(len1, offset + len2);
        const int limit = std::min(kMaxMateDiffs, (hi - lo) / 5);
        int same = 0;
        const int diffs = Differences(bases1, r2, offset, lo, hi, limit, same);
        // Bases compared (not N) must fill the shortest overlap.
        if (diffs > limit || same + diffs < kMinMateOverlap) continue;
        const int score = same - 3 * diffs;
        // From the shortest overlap to the longest: a tie goes to the longer.
        if (!found || score >= bestScore) {
            found = true;
            bestScore = score;
            best = offset;
        }
    }
    if (!found) return MergeOutcome::NoOverlap;

    const int length = best + len2;  // the insert ends where mate 2 starts
    out.bases.resize(static_cast<size_t>(length));
    if (quals) out.quals.resize(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        const size_t at = static_cast<size_t>(i);
        const bool in1 = i < len1, in2 = i >= best;
        const size_t j = static_cast<size_t>(i - best);
        if (!in2) {
            out.bases[at] = bases1[at];
            if (quals) out.quals[at] = quals1[at];
            continue;
        }
        // Mate 2's qualities run backwards along its reverse complement.
        const char b = r2[j], qb = quals ? quals2[bases2.size() - 1 - j] : '!';
        if (!in1) {
            out.bases[at] = b;
            if (quals) out.quals[at] = qb;
            continue;
        }
        const char a = bases1[at], qa = quals ? quals1[at] : '!';
        if (!IsBase(a) || !IsBase(b)) {  // an N (or other code) gives way to a base
            const bool first = IsBase(a) || !IsBase(b);
            out.bases[at] = first ? a : b;
            if (quals) out.quals[at] = first ? qa : qb;
            continue;
        }
        const bool agree = Upper(a) == Upper(b);
        const bool second = !agree && quals && Phred(qb) > Phred(qa);
        out.bases[at] = second ? b : a;
        if (quals)
            out.quals[at] = table.q[agree ? 1 : 0][static_cast<size_t>(Phred(qa))][static_cast<size_t>(Phred(qb))];
    }
    out.mate1Last = std::min(len1, length);
    out.mate2First = std::max(best, 0) + 1;
    return MergeOutcome::Merged;
}

}  // namespace varigap::seqio

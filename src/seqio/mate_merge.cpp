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
constexpr unsigned char kOther = 4;  // the code of N and of every letter but A, C, G, T

constexpr std::array<unsigned char, 256> kCodes = [] {
    std::array<unsigned char, 256> codes{};
    codes.fill(kOther);
    codes['A'] = codes['a'] = 0;
    codes['C'] = codes['c'] = 1;
    codes['G'] = codes['g'] = 2;
    codes['T'] = codes['t'] = 3;
    return codes;
}();

unsigned char Code(char c) { return kCodes[static_cast<unsigned char>(c)]; }

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

size_t Phred(char c) { return static_cast<size_t>(std::clamp(c - kQualityOffset, 0, kHighestQuality)); }

}  // namespace

bool MateMerger::Holds(int offset, int& score) const {
    const int len1 = static_cast<int>(c1_.size()), len2 = static_cast<int>(c2_.size());
    const int lo = std::max(0, offset), hi = std::min(len1, offset + len2);
    const int limit = std::min(kMaxMateDiffs, (hi - lo) / 5);
    int diffs = 0, same = 0;
    for (int i = lo; i < hi; ++i) {
        const unsigned char a = c1_[static_cast<size_t>(i)], b = c2_[static_cast<size_t>(i - offset)];
        if ((a | b) & kOther) continue;
        if (a == b) ++same;
        else if (++diffs > limit) return false;
    }
    score = same - 3 * diffs;
    // Bases compared (not N) must fill the shortest overlap.
    return same + diffs >= kMinMateOverlap;
}

MergeOutcome MateMerger::Merge(std::string_view bases1, std::string_view quals1, std::string_view bases2,
                               std::string_view quals2, MergedMates& out) {
    static const PosteriorTable table;  // built once, only read afterwards
    out.bases.clear();
    out.quals.clear();
    out.mate1Last = out.mate2First = 0;
    const int len1 = static_cast<int>(bases1.size()), len2 = static_cast<int>(bases2.size());
    if (len1 < kMinMateOverlap || len2 < kMinMateOverlap) return MergeOutcome::MateTooShort;
    const bool quals = quals1.size() == bases1.size() && quals2.size() == bases2.size();
    c1_.resize(bases1.size());
    for (size_t i = 0; i < bases1.size(); ++i) c1_[i] = Code(bases1[i]);
    r2_.resize(bases2.size());
    c2_.resize(bases2.size());
    for (size_t j = 0; j < bases2.size(); ++j) {
        const char b = bases2[bases2.size() - 1 - j];
        const int k = ComplementOf(static_cast<unsigned char>(b));
        r2_[j] = k < 0 ? b : static_cast<char>(k);
        c2_[j] = Code(r2_[j]);
    }

    // Words of mate 1, then the placements (mate 2 reverse complemented starting at `offset` of
    // mate 1, negative where the mates run past each other) where mate 2 holds them.
    constexpr unsigned kWords = 1u << (2 * kSeedLength);
    if (seen_.empty() || ++stamp_ > 0xffff) {
        seen_.assign(kWords, 0);
        stamp_ = 1;
    }
    votes_.assign(static_cast<size_t>(len1 + len2), 0);
    auto words = [&](const std::vector<unsigned char>& codes, auto&& take) {
        unsigned word = 0;
        int run = 0;
        for (size_t i = 0; i < codes.size(); ++i) {
            if (codes[i] == kOther) {
                run = 0;
                continue;
            }
            word = ((word << 2) | codes[i]) & (kWords - 1);
            if (++run >= kSeedLength) take(word, static_cast<int>(i) - kSeedLength + 1);
        }
    };
    // Positions beyond the low half (no read analysed is that long) are left to the full search.
    const unsigned stamp = stamp_ << 16;
    words(c1_, [&](unsigned word, int at) {
        if (at <= 0xffff) seen_[word] = stamp | static_cast<unsigned>(at);
    });
    words(c2_, [&](unsigned word, int at) {
        const unsigned seen = seen_[word];
        if ((seen & 0xffff0000u) == stamp) ++votes_[static_cast<size_t>(static_cast<int>(seen & 0xffffu) - at + len2)];
    });

    int best = 0, bestScore = 0;
    bool found = false;
    for (const bool seeded : {true, false}) {
        // From the shortest overlap to the longest: a tie goes to the longer.
        for (int offset = len1 - kMinMateOverlap; offset >= kMinMateOverlap - len2; --offset) {
            int score = 0;
            if (seeded && !votes_[static_cast<size_t>(offset + len2)]) continue;
            if (Holds(offset, score) && (!found || score >= bestScore)) {
                found = true;
                bestScore = score;
                best = offset;
            }
        }
        if (found) break;
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
        const char qb = quals ? quals2[bases2.size() - 1 - j] : '!';
        if (!in1) {
            out.bases[at] = r2_[j];
            if (quals) out.quals[at] = qb;
            continue;
        }
        const char qa = quals ? quals1[at] : '!';
        const unsigned char a = c1_[at], b = c2_[j];
        if ((a | b) & kOther) {  // an N (or other code) gives way to a base
            const bool first = a != kOther || b == kOther;
            out.bases[at] = first ? bases1[at] : r2_[j];
            if (quals) out.quals[at] = first ? qa : qb;
            continue;
        }
        const bool second = a != b && quals && Phred(qb) > Phred(qa);
        out.bases[at] = second ? r2_[j] : bases1[at];
        if (quals) out.quals[at] = table.q[a == b ? 1 : 0][Phred(qa)][Phred(qb)];
    }
    out.mate1Last = std::min(len1, length);
    out.mate2First = std::max(best, 0) + 1;
    return MergeOutcome::Merged;
}

}  // namespace varigap::seqio

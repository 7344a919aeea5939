// Column-wise consensus of conserved-region bases.
#include "builder/consensus.h"

#include <algorithm>
#include <map>

#include "core/bases.h"

namespace varigap::builder {

namespace {
// Index of the one-base masks A, C, G, T.
constexpr unsigned kBaseBits[4] = {1, 2, 4, 8};
}  // namespace

char IupacLetter(unsigned mask) {
    // Indexed by the mask: -, A, C, M, G, R, S, V, T, W, Y, H, K, D, B, N.
    static constexpr char kLetters[] = "NACMGRSVTWYHKDBN";
    return kLetters[mask & 15];
}

Consensus MakeConsensus(const std::vector<std::string>& records, double ambiguityMin) {
    Consensus c;
    c.records = static_cast<int>(records.size());
    if (records.empty()) return c;
    std::map<size_t, int> count;
    std::vector<size_t> order;  // lengths in the order first seen
    for (const auto& r : records)
        if (count[r.size()]++ == 0) order.push_back(r.size());
    size_t length = order.front();
    for (size_t len : order)
        if (count[len] > count[length]) length = len;
    c.shortest = static_cast<int>(count.begin()->first);
    c.longest = static_cast<int>(count.rbegin()->first);
    c.used = count[length];

    for (size_t col = 0; col < length; ++col) {
        double share[4] = {0, 0, 0, 0};
        double total = 0;
        for (const auto& r : records) {
            if (r.size() != length) continue;
            unsigned mask = detail::kBaseMask[static_cast<unsigned char>(r[col])];
            int bases = __builtin_popcount(mask);
            if (mask == 0 || mask == 15) continue;  // N (or a non-base) says nothing
            for (int b = 0; b < 4; ++b)
                if (mask & kBaseBits[b]) share[b] += 1.0 / bases;
            total += 1;
        }
        unsigned mask = 0;
        if (total > 0) {
            double top = *std::max_element(share, share + 4);
            for (int b = 0; b < 4; ++b)
                if (share[b] == top || share[b] >= ambiguityMin * total - 1e-9) mask |= kBaseBits[b];
        }
        char letter = IupacLetter(mask);
        if (__builtin_popcount(mask) > 1) ++c.ambiguous;
        c.bases += static_cast<char>(letter + 32);
    }
    return c;
}

}  // namespace varigap::builder

// Reproducible sequences for the aligner's tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>

namespace varigap::test {

// n bases A, C, G, T drawn from a fixed generator: the same seed gives the same bases on
// every platform.
inline std::string RandomBases(int n, uint64_t seed) {
    std::string s;
    s.reserve(static_cast<size_t>(n));
    uint64_t x = seed * 0x9e3779b97f4a7c15ULL + 1;
    for (int i = 0; i < n; ++i) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        s += "ACGT"[x >> 62];
    }
    return s;
}

// The base that never matches b (A<->T, C<->G), for planting mismatches.
inline char Mismatch(char b) { return b == 'A' ? 'T' : b == 'T' ? 'A' : b == 'C' ? 'G' : 'C'; }

// s with the bases first..last (1-based) replaced by mismatching ones.
inline std::string WithMismatches(std::string s, int first, int last) {
    for (int p = first; p <= last; ++p) s[static_cast<size_t>(p - 1)] = Mismatch(s[static_cast<size_t>(p - 1)]);
    return s;
}

}  // namespace varigap::test

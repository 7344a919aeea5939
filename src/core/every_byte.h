// Whether a test holds for every byte of a text, sixteen bytes at a time: reading checks every
// byte of every record and writing every letter of every field, and the compiler does not
// vectorise such a loop at our optimisation level.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace varigap {

// Sixteen bytes as one vector (GCC and Clang vector extensions: SSE2 or NEON compares).
using Bytes16 = unsigned char __attribute__((vector_size(16)));

// `ok` takes a byte (true where it holds) or a Bytes16 (all ones in the bytes where it holds),
// both unsigned.
template <class Ok>
bool EveryByte(std::string_view s, Ok ok) {
    size_t i = 0;
    for (; i + 16 <= s.size(); i += 16) {
        Bytes16 v;
        std::memcpy(&v, s.data() + i, 16);
        const auto held = ok(v);
        uint64_t half[2];
        std::memcpy(half, &held, 16);
        if ((half[0] & half[1]) != ~uint64_t{0}) return false;
    }
    for (; i < s.size(); ++i)
        if (!ok(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

}  // namespace varigap

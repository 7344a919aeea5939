// Reverse complement with the IUPAC pairs.
#include "core/complement.h"

#include <array>

#include "core/messages.h"
#include "core/state.h"
#include "core/strings.h"

namespace varigap {

namespace {
// Pairs of letters that complement each other, in upper and lower case.
constexpr const char* kComplementPairs = "AT, CG, BV, DH, KM, RY, SS, WW, NN";

constexpr std::array<short, 256> kComplement = [] {
    std::array<short, 256> t{};
    for (auto& v : t) v = -1;
    const char* p = kComplementPairs;
    while (*p) {
        while (*p == ',' || *p == ' ') ++p;
        if (!p[0] || !p[1]) break;
        unsigned char x = static_cast<unsigned char>(p[0]), y = static_cast<unsigned char>(p[1]);
        t[x] = y;
        t[y] = x;
        t[x + 32] = static_cast<short>(y + 32);
        t[y + 32] = static_cast<short>(x + 32);
        p += 2;
    }
    return t;
}();
static_assert(kComplement['A'] == 'T' && kComplement['g'] == 'c' && kComplement['U'] == -1);
}  // namespace

void InitializeComplement(Reporter st) {
    std::string pairs = kComplementPairs;
    StripLeading(pairs, ",");
    while (pairs.size() >= 2) {
        char x = pairs[0], y = pairs[1];
        auto upper = [](int c) { return c >= 'A' && c <= 'Z'; };
        auto lower = [](int c) { return c >= 'a' && c <= 'z'; };
        Assert(st, upper(x) && upper(y) && lower(x + 32) && lower(y + 32));
        pairs = SubStr(pairs, 3, static_cast<long>(pairs.size()));
        StripLeading(pairs, ",");
    }
}

int ComplementOf(unsigned char c) { return kComplement[c]; }

std::string ReverseComplement(const std::string& s) {
    std::string r(s.size(), ' ');
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[s.size() - 1 - i]);
        short k = kComplement[c];
        r[i] = k == -1 ? static_cast<char>(c) : static_cast<char>(k);
    }
    return r;
}

}  // namespace varigap

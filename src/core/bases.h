// Nucleotide codes: the base alphabet, the IUPAC table, matching and searching with it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/types.h"

namespace varigap {

struct Reporter;

// The characters that count as bases in sequence text (case-sensitive test).
inline constexpr std::string_view BASEALPHABET = "atgcATGCunbdhvkmrswyUNBDHVKMRSWY";

// Which of A, C, G, T a nucleotide letter stands for (U stands for T).
struct BaseSet {
    bool hasA = false, hasC = false, hasG = false, hasT = false;
};

namespace detail {
constexpr BaseSet CodeOf(char upper) {
    switch (upper) {
        case 'A': return {true, false, false, false};
        case 'C': return {false, true, false, false};
        case 'G': return {false, false, true, false};
        case 'T':
        case 'U': return {false, false, false, true};
        case 'K': return {false, false, true, true};
        case 'M': return {true, true, false, false};
        case 'R': return {true, false, true, false};
        case 'S': return {false, true, true, false};
        case 'W': return {true, false, false, true};
        case 'Y': return {false, true, false, true};
        case 'B': return {false, true, true, true};
        case 'D': return {true, false, true, true};
        case 'H': return {true, true, false, true};
        case 'V': return {true, true, true, false};
        case 'N': return {true, true, true, true};
        default: return {};  // E F I J L O P Q X Z stand for no base
    }
}
// Bit mask per character (A=1, C=2, G=4, T=8), lower case through upper case; 0 for
// everything that is not a nucleotide letter.
constexpr std::array<unsigned char, 256> kBaseMask = [] {
    std::array<unsigned char, 256> m{};
    for (int c = 'A'; c <= 'Z'; ++c) {
        BaseSet b = CodeOf(static_cast<char>(c));
        unsigned char v =
            static_cast<unsigned char>((b.hasA ? 1 : 0) | (b.hasC ? 2 : 0) | (b.hasG ? 4 : 0) | (b.hasT ? 8 : 0));
        m[static_cast<size_t>(c)] = v;
        m[static_cast<size_t>(c + 32)] = v;
    }
    return m;
}();
constexpr std::array<bool, 256> kIsBase = [] {
    std::array<bool, 256> m{};
    for (char c : BASEALPHABET) m[static_cast<unsigned char>(c)] = true;
    return m;
}();
}  // namespace detail

static_assert(detail::kBaseMask['N'] == 15 && detail::kBaseMask['u'] == 8);
static_assert(detail::kBaseMask['X'] == 0 && detail::kBaseMask['-'] == 0);

// The IUPAC record of an upper-case letter A..Z.
constexpr BaseSet BaseCode(char upper) { return detail::CodeOf(upper); }
inline bool IsBaseChar(char c) { return detail::kIsBase[static_cast<unsigned char>(c)]; }

// Checks the code table at start-up, reporting a broken entry as a logic error.
void InitializeBaseCodes(Reporter st);

// Case-blind comparison of single characters (ASCII).
inline bool UpperCaseEq(char a, char b) {
    auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    return up(a) == up(b);
}

// True when two one-character codes can stand for the same base: equal ignoring case,
// either is N, or both are letters sharing a base.
inline bool BasesMatch(char a, char b) {
    if (UpperCaseEq(a, b)) return true;
    if (a == 'N' || a == 'n' || b == 'N' || b == 'n') return true;
    return (detail::kBaseMask[static_cast<unsigned char>(a)] & detail::kBaseMask[static_cast<unsigned char>(b)]) != 0;
}
bool BasesMatch(const std::string& a, const std::string& b);

// Position (1-based) of the first match of pattern in text at or after start, 0 if none:
// an exact match (letters compared without regard to case) anywhere wins over an earlier
// match through ambiguity codes.
int InStrBases(const std::string& pattern, const std::string& text, long start);

// Removes every character that is not in the base alphabet.
void StripNonBases(std::string& s);
// Removes the comments "[" ... "]" of one line; reports a "[" without "]" and stops there.
void RemoveComments(Reporter st, std::string& s);
// Looks for pattern in the first `length` characters of text from start on: numFound 0
// (positions POSNOTFOUND), 1 (its positions), or 2 when a second, non-overlapping
// occurrence exists (positions POSAMBIGUOUS).
void FindUniqueMatch(const std::string& pattern, const std::string& text, long start, long length, Integer& numFound,
                     Integer& first, Integer& last);

}  // namespace varigap

// The name offered for the output file of a sequence.
#include "output/file_name.h"

#include <cstdint>

namespace varigap {

namespace {

// Code point ranges of letters outside ASCII: Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic, the
// Indic scripts, Thai, Georgian, Hangul, kana and CJK ideographs. Symbols and punctuation outside
// these ranges (dashes, quotes, degree signs) are left out like ASCII punctuation.
bool IsLetterBeyondAscii(char32_t c) {
    static constexpr char32_t kRanges[][2] = {
        {0x00C0, 0x00D6}, {0x00D8, 0x00F6}, {0x00F8, 0x024F}, {0x0370, 0x03FF}, {0x0400, 0x052F}, {0x0531, 0x0587},
        {0x05D0, 0x05EA}, {0x0620, 0x064A}, {0x0900, 0x0DFF}, {0x0E01, 0x0E4E}, {0x10A0, 0x10FF}, {0x1100, 0x11FF},
        {0x1E00, 0x1FFF}, {0x3041, 0x30FF}, {0x3400, 0x9FFF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}};
    for (const auto& r : kRanges)
        if (c >= r[0] && c <= r[1]) return true;
    return false;
}

bool IsAsciiAlpha(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

// Reads the UTF-8 character at `i` into `c` and returns its length; a byte that does not start a
// well-formed character is read alone as U+FFFD, which is no letter.
size_t NextChar(const std::string& s, size_t i, char32_t& c) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 1) {
        c = b;
        return 1;
    }
    if (n == 0 || i + n > s.size()) {
        c = 0xFFFD;
        return 1;
    }
    c = b & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) {
            c = 0xFFFD;
            return 1;
        }
        c = (c << 6) | (t & 0x3F);
    }
    return n;
}

}  // namespace

std::string SuggestedFileName(const std::string& seqName, int maxChars, const std::string& suffix,
                              const std::string& fallback) {
    std::string name;
    int chars = 0;
    for (size_t i = 0; i < seqName.size() && chars < maxChars;) {
        char32_t c;
        const size_t n = NextChar(seqName, i, c);
        const bool letter = IsAsciiAlpha(c) || IsLetterBeyondAscii(c);
        // Digits count once a letter has started the name.
        if (letter || (chars > 0 && IsDigit(c))) {
            name.append(seqName, i, n);
            ++chars;
        }
        i += n;
    }
    return (name.empty() ? fallback : name) + suffix;
}

}  // namespace varigap

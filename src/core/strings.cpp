// 1-based string helpers.
#include "core/strings.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace varigap {

std::string SubStr(std::string_view s, long first, long last) {
    long len = static_cast<long>(s.size());
    if (len == 0) return "";
    if (first < 1) first = 1;
    if (first > len) return "";
    if (last > len) last = len;
    if (last >= 1 && last >= first)
        return std::string(s.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1)));
    return "";
}

std::string CharAt(const std::string& s, long pos) {
    if (pos < 1 || pos > static_cast<long>(s.size())) return "";
    return std::string(1, s[static_cast<size_t>(pos - 1)]);
}

void StripLeading(std::string& s, const std::string& chars) {
    size_t i = 0;
    while (i < s.size() && (s[i] == '\t' || s[i] == ' ' || chars.find(s[i]) != std::string::npos)) ++i;
    s.erase(0, i);
}

static bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
static bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string MakeAlnumName(const std::string& s, int maxLen, const std::string& suffix) {
    std::string t = s;
    StripLeading(t);
    if (t.empty()) return "";
    size_t i = 0;
    while (i < t.size() && !IsAsciiLetter(t[i])) ++i;
    std::string name;
    for (; i < t.size(); ++i)
        if (IsAsciiLetter(t[i]) || IsAsciiDigit(t[i])) name += t[i];
    return SubStr(name, 1, maxLen) + suffix;
}

std::string ControlsAsBlanks(std::string s) {
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return s;
}

std::string Str(long long v) { return std::to_string(v); }

std::string ToUpper(std::string s) {
    // Eight letters at a time: bytes from 'a' to 'z' lose their 0x20 bit, all others stay.
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    char* p = s.data();
    const size_t n = s.size();
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x;
        std::memcpy(&x, p + i, 8);
        const uint64_t low7 = x & ~kHigh;
        const uint64_t fromA = low7 + (0x80 - 'a') * kOnes;      // high bit set: 'a' or above
        const uint64_t pastZ = low7 + (0x80 - 'z' - 1) * kOnes;  // high bit set: past 'z'
        x ^= (fromA & ~pastZ & ~x & kHigh) >> 2;
        std::memcpy(p + i, &x, 8);
    }
    for (; i < n; ++i) p[i] = UpperChar(p[i]);
    return s;
}

double LeadingNumber(const std::string& text, bool* ok) {
    std::string t;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') t += c;
    if (ok) *ok = false;
    size_t i = 0;
    if (t.size() >= 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h' || t[1] == 'O' || t[1] == 'o')) {
        int base = (t[1] == 'H' || t[1] == 'h') ? 16 : 8;
        double v = 0;
        bool any = false;
        for (i = 2; i < t.size(); ++i) {
            int d;
            char c = t[i];
            if (c >= '0' && c <= '9') d = c - '0';
            else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else break;
            if (d >= base) break;
            v = v * base + d;
            any = true;
        }
        if (!any) return 0;
        if (ok) *ok = true;
        // A 16-bit hexadecimal or octal literal above &H7FFF stands for a negative Integer.
        if (v >= 32768 && v <= 65535) v -= 65536;
        return v;
    }
    size_t start = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digits = 0;
    while (i < t.size() && IsAsciiDigit(t[i])) {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && IsAsciiDigit(t[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return 0;
    size_t mantissaEnd = i;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        size_t expDigits = 0;
        while (j < t.size() && IsAsciiDigit(t[j])) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0) mantissaEnd = j;
    }
    std::string num = t.substr(start, mantissaEnd - start);
    for (char& c : num)
        if (c == 'd' || c == 'D') c = 'e';
    if (ok) *ok = true;
    return std::strtod(num.c_str(), nullptr);
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

}  // namespace varigap

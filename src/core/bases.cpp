// IUPAC-aware matching and searching, and the sequence text helpers.
#include "core/bases.h"

#include <algorithm>

#include "core/limits.h"
#include "core/messages.h"
#include "core/state.h"
#include "core/strings.h"

namespace varigap {

void InitializeBaseCodes(Reporter st) {
    BaseSet a = BaseCode('A'), c = BaseCode('C'), g = BaseCode('G'), t = BaseCode('T');
    Assert(st, a.hasA && c.hasC && g.hasG && t.hasT);
    Assert(st, !a.hasC && !a.hasG && !a.hasT);
    Assert(st, !c.hasA && !c.hasG && !c.hasT);
    Assert(st, !g.hasA && !g.hasC && !g.hasT);
    Assert(st, !t.hasA && !t.hasC && !t.hasG);
}

bool BasesMatch(const std::string& a, const std::string& b) {
    if (a.size() != 1 || b.size() != 1) return ToUpper(a) == ToUpper(b);
    return BasesMatch(a[0], b[0]);
}

// First case-blind exact occurrence of pattern in text at or after 0-based `from`.
static size_t FindIgnoringCase(const std::string& pattern, const std::string& text, size_t from) {
    if (pattern.size() > text.size()) return std::string::npos;
    auto it = std::search(text.begin() + static_cast<long>(std::min(from, text.size())), text.end(), pattern.begin(),
                          pattern.end(), UpperCaseEq);
    return it == text.end() ? std::string::npos : static_cast<size_t>(it - text.begin());
}

int InStrBases(const std::string& pattern, const std::string& text, long start) {
    long len = static_cast<long>(text.size());
    if (start < 1) start = 1;  // a search from before the text starts at its first character
    if (pattern.empty()) return start <= len ? static_cast<int>(start) : 0;
    if (start > len) return 0;
    size_t hit = FindIgnoringCase(pattern, text, static_cast<size_t>(start - 1));
    if (hit != std::string::npos) return static_cast<int>(hit + 1);
    long plen = static_cast<long>(pattern.size());
    for (long p = start; p <= len; ++p) {
        if (plen - 1 > len - p) return 0;
        long k = 0;
        while (k < plen && BasesMatch(pattern[static_cast<size_t>(k)], text[static_cast<size_t>(p - 1 + k)])) ++k;
        if (k == plen) return static_cast<int>(p);
    }
    return 0;
}

void StripNonBases(std::string& s) {
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return !IsBaseChar(c); }), s.end());
}

void RemoveComments(Reporter st, std::string& s) {
    if (s.size() < 2) return;
    size_t open = s.find('[');
    while (open != std::string::npos) {
        size_t close = s.find(']', open + 1);
        if (close == std::string::npos) {
            MsgBox(st, "Error: [ without matching ] on the same line.");
            return;
        }
        s.erase(open, close - open + 1);
        open = s.find('[', open);
    }
}

void FindUniqueMatch(const std::string& pattern, const std::string& text, long start, long length, Integer& numFound,
                     Integer& first, Integer& last) {
    std::string t =
        text.substr(0, static_cast<size_t>(std::max(0L, std::min<long>(length, static_cast<long>(text.size())))));
    first = InStrBases(pattern, t, start);
    if (first == 0) {
        numFound = 0;
        first = POSNOTFOUND;
        last = POSNOTFOUND;
        return;
    }
    last = Integer(static_cast<long>(first) + static_cast<long>(pattern.size()) - 1);
    if (InStrBases(pattern, t, static_cast<long>(last) + 1) == 0) {
        numFound = 1;
    } else {
        numFound = 2;
        first = POSAMBIGUOUS;
        last = POSAMBIGUOUS;
    }
}

}  // namespace varigap

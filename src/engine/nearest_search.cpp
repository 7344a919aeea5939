// The listed variants nearest to a region's bases: a length filter, then edlib's bit-parallel
// alignment of each remaining variant.
#include "engine/detail/nearest_search.h"

#include <edlib.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/bases.h"
#include "core/strings.h"
#include "engine/detail/word_sets.h"

namespace varigap {

namespace {

constexpr std::string_view kCodes = "ACGTRYSWKMBDHVN";

// Every pair of distinct IUPAC codes that stand for a base in common: edlib counts them as equal.
const std::vector<EdlibEqualityPair>& IupacEqualities() {
    static const std::vector<EdlibEqualityPair> pairs = [] {
        std::vector<EdlibEqualityPair> p;
        for (char a : kCodes)
            for (char b : kCodes)
                if (a != b && (detail::kBaseMask[static_cast<unsigned char>(a)] &
                               detail::kBaseMask[static_cast<unsigned char>(b)]) != 0)
                    p.push_back({a, b});
        return p;
    }();
    return pairs;
}

// Upper case, U as T: the alphabet the equalities are written for.
std::string AlignmentText(const std::string& s) {
    std::string t = ToUpper(s);
    std::replace(t.begin(), t.end(), 'U', 'T');
    return t;
}

EdlibAlignConfig Config(int k, EdlibAlignMode mode, EdlibAlignTask task) {
    const auto& eq = IupacEqualities();
    return edlibNewAlignConfig(k, mode, task, eq.data(), static_cast<int>(eq.size()));
}

// Edit distance of a variant to the region (its bases at [lead, lead + length) of `widened`),
// each end of the variant free to lie up to `slack` bases beside the region's; -1 beyond k.
int Distance(const std::string& variant, const std::string& widened, int lead, int length, int slack, int k) {
    const int n = static_cast<int>(variant.size());
    // Infix alignment within the widened region: no more than the distance sought, and the
    // distance itself when the variant's ends fall within the slack of the region's.
    EdlibAlignResult hw = edlibAlign(variant.data(), n, widened.data(), static_cast<int>(widened.size()),
                                     Config(k, EDLIB_MODE_HW, EDLIB_TASK_LOC));
    const int infix = hw.status == EDLIB_STATUS_OK ? hw.editDistance : -1;
    int best = -1;
    if (infix >= 0) {
        const int lastStart = lead + slack, firstEnd = lead + length - 1 - slack;
        for (int i = 0; i < hw.numLocations; ++i) {
            // Bases of the region the variant leaves out beyond the slack count as differences.
            const int cost =
                infix + std::max(0, hw.startLocations[i] - lastStart) + std::max(0, firstEnd - hw.endLocations[i]);
            if (best < 0 || cost < best) best = cost;
        }
    }
    edlibFreeAlignResult(hw);
    if (infix < 0) return -1;  // no placement of the variant is within k
    if (best > infix) {
        // The infix alignment left bases of the region out: the region as placed may be nearer.
        EdlibAlignResult nw = edlibAlign(variant.data(), n, widened.data() + lead, length,
                                         Config(std::min(k, best), EDLIB_MODE_NW, EDLIB_TASK_DISTANCE));
        if (nw.status == EDLIB_STATUS_OK && nw.editDistance >= 0) best = std::min(best, nw.editDistance);
        edlibFreeAlignResult(nw);
    }
    return best > k ? -1 : best;
}

constexpr int kWord = NearestIndex::kWord;
// Word codes below this many candidates are not worth counting: each is aligned.
constexpr size_t kFilterFrom = 64;
// The bound of the first pass of a search.
constexpr int kFirstBound = 2;

// The code of every word of kWord plain bases in `s` (upper case), in order; false when `s`
// holds another letter.
bool WordCodes(const std::string& s, std::vector<uint32_t>& codes) {
    codes.clear();
    uint32_t code = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const int b = kPlainCode[static_cast<unsigned char>(s[i])];
        if (b < 0) return false;
        code = ((code << 2) | static_cast<uint32_t>(b)) & ((1u << (2 * kWord)) - 1);
        if (i + 1 >= static_cast<size_t>(kWord)) codes.push_back(code);
    }
    return true;
}

// Postings by rank in byLength, so that a query counts only the variants of its lengths. Two
// passes over the variants (count, then fill) keep the memory to the postings themselves.
void IndexWords(NearestIndex& index) {
    const VRFileContents& e = *index.entries;
    const size_t n = index.byLength.size();
    index.plain.assign(n, 0);
    index.wordStart.assign((1u << (2 * kWord)) + 1, 0);
    std::vector<uint32_t> codes;
    // Each distinct word of the variant at rank r with the times it occurs, in word order.
    auto words = [&](uint32_t r, auto&& take) {
        if (!WordCodes(AlignmentText(e[index.byLength[r]].upper), codes)) return false;
        std::sort(codes.begin(), codes.end());
        for (size_t a = 0, b; a < codes.size(); a = b) {
            for (b = a; b < codes.size() && codes[b] == codes[a];) ++b;
            take(codes[a], static_cast<uint32_t>(b - a));
        }
        return true;
    };
    for (uint32_t r = 0; r < n; ++r)
        index.plain[r] = words(r, [&](uint32_t code, uint32_t) { ++index.wordStart[code + 1]; });
    for (size_t c = 1; c < index.wordStart.size(); ++c) index.wordStart[c] += index.wordStart[c - 1];
    index.postings.resize(index.wordStart.back());
    std::vector<uint32_t> fill(index.wordStart.begin(), index.wordStart.end() - 1);
    for (uint32_t r = 0; r < n; ++r)
        if (index.plain[r]) words(r, [&](uint32_t code, uint32_t times) { index.postings[fill[code]++] = {r, times}; });
}

}  // namespace

NearestIndex MakeNearestIndex(std::shared_ptr<const VRFileContents> entries) {
    NearestIndex index;
    index.entries = std::move(entries);
    const VRFileContents& e = *index.entries;
    index.byLength.resize(e.size());
    for (uint32_t i = 0; i < e.size(); ++i) index.byLength[i] = i;
    std::stable_sort(index.byLength.begin(), index.byLength.end(),
                     [&](uint32_t a, uint32_t b) { return e[a].upper.size() < e[b].upper.size(); });
    for (uint32_t i : index.byLength) index.lengths.push_back(static_cast<uint32_t>(e[i].upper.size()));
    IndexWords(index);
    return index;
}

NearestHit FindNearest(const NearestIndex& index, const std::string& widened, int lead, int trail,
                       const NearestBounds& bounds, long exclude) {
    NearestHit hit;
    const int length = static_cast<int>(widened.size()) - lead - trail;
    if (length < 1 || !index.entries || bounds.maxDiffs < 0) return hit;
    const std::string text = AlignmentText(widened);
    const VRFileContents& e = *index.entries;
    const int slack = bounds.slack;
    // The lengths the region may have with its ends moved within the slack.
    const int shortest = std::max(0, length - 2 * slack), longest = length + lead + trail;
    // The identity bound caps the differences too, by the longer of region and variant.
    const double spare = std::max(0.0, 1.0 - bounds.minIdentity);
    auto cap = [&](int n) { return static_cast<int>(spare * std::max(n, length) + 1e-9); };
    // A variant of n bases is within the identity bound only if n - longest <= spare * n.
    const double longestNear = std::min(1e7, longest / std::max(0.01, 1.0 - spare));
    int k = std::min(bounds.maxDiffs, cap(static_cast<int>(longestNear) + 1));
    // Most regions lie within a difference or two of a variant: a first pass with that bound
    // counts and aligns few variants, and the full bound is searched only when it finds none.
    // Both passes are exact: no variant within a pass's bound is passed over.
    std::vector<uint32_t> nearest;  // entries
    auto search = [&](int bound) {
        k = bound;
        // The variants of lengths within reach, as ranks [from, to) in byLength.
        const auto& lengths = index.lengths;
        const uint32_t from = static_cast<uint32_t>(
            std::lower_bound(lengths.begin(), lengths.end(), static_cast<uint32_t>(std::max(1, shortest - k))) -
            lengths.begin());
        const uint32_t to = static_cast<uint32_t>(
            std::upper_bound(lengths.begin(), lengths.end(), static_cast<uint32_t>(longest + k)) - lengths.begin());
        auto lengthOf = [&](uint32_t r) { return static_cast<int>(lengths[r]); };
        std::vector<uint32_t> candidates;  // ranks
        // Many candidates: the words each shares with the region. A variant sharing fewer than its
        // words less kWord per difference allowed is not aligned; the others go most shared first,
        // so that the bound falls early.
        std::vector<uint32_t> shared, codes;
        const bool counted = to - std::min(from, to) >= kFilterFrom && WordCodes(text, codes);
        auto tooFew = [&](uint32_t r, int limit) {
            const long need = static_cast<long>(lengthOf(r)) - kWord + 1 - static_cast<long>(kWord) * limit;
            return counted && shared[r - from] != UINT32_MAX && static_cast<long>(shared[r - from]) < need;
        };
        if (counted) {
            shared.assign(to - from, 0);
            std::sort(codes.begin(), codes.end());
            codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
            for (uint32_t c : codes) {
                const auto* first = index.postings.data() + index.wordStart[c];
                const auto* last = index.postings.data() + index.wordStart[c + 1];
                first = std::lower_bound(first, last, from, [](const auto& p, uint32_t r) { return p.first < r; });
                for (; first != last && first->first < to; ++first) shared[first->first - from] += first->second;
            }
            for (uint32_t r = from; r < to; ++r) {
                if (!index.plain[r]) shared[r - from] = UINT32_MAX;  // IUPAC codes: always aligned
                if (!tooFew(r, std::min(k, cap(lengthOf(r))))) candidates.push_back(r);
            }
            std::stable_sort(candidates.begin(), candidates.end(),
                             [&](uint32_t a, uint32_t b) { return shared[a - from] > shared[b - from]; });
        } else {
            for (uint32_t r = from; r < to; ++r) candidates.push_back(r);
        }
        for (uint32_t r : candidates) {
            const uint32_t i = index.byLength[r];
            if (static_cast<long>(i) == exclude) continue;
            const int n = lengthOf(r);
            if (n > longest + k || n < shortest - k) continue;
            const int limit = std::min(k, cap(n));
            if (tooFew(r, limit)) continue;
            if (std::max(0, std::max(shortest - n, n - longest)) > limit) continue;
            const int d = Distance(e[i].upper, text, lead, length, slack, limit);
            if (d < 0) continue;
            if (nearest.empty() || d < hit.diffs) {
                nearest.clear();
                hit.diffs = d;
                k = d;  // only as near or nearer from now on
            }
            nearest.push_back(i);
        }
    };
    const int full = k;
    if (full > kFirstBound) search(kFirstBound);
    if (nearest.empty()) search(full);
    if (nearest.empty()) return NearestHit{};
    std::sort(nearest.begin(), nearest.end());  // file order
    int longer = 0;
    for (uint32_t i : nearest) {
        hit.variants.push_back(e[i].bases);
        hit.taxa.push_back(e[i].taxa);
        longer = std::max(longer, static_cast<int>(e[i].upper.size()));
    }
    hit.identity = 1.0 - static_cast<double>(hit.diffs) / std::max(longer, length);
    hit.shared = SharedName(hit.taxa);
    return hit;
}

std::string SharedName(const std::vector<std::string>& taxa) {
    std::string genus;
    bool any = false;
    for (const std::string& list : taxa) {
        for (size_t at = 0; at <= list.size();) {
            size_t end = list.find(';', at);
            if (end == std::string::npos) end = list.size();
            const size_t begin = list.find_first_not_of(' ', at);
            const std::string name = begin < end ? list.substr(begin, end - begin) : std::string();
            at = end + 1;
            if (name.empty()) continue;
            const std::string first = name.substr(0, name.find(' '));
            if (any && first != genus) return "";
            genus = first;
            any = true;
        }
    }
    return genus;
}

}  // namespace varigap

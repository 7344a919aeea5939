// Identical reads analysed once: the output of reads seen before, by their bases, in bounded memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "cli/format.h"

namespace varigap::cli {

// A run's reads keyed by their bases (the settings of a run are the same for every read).
// Memory is bounded by two generations of at most `generationBytes` each (bases, output and
// a fixed cost per entry): when the newer is full it becomes the older and the older is
// dropped; a read found in the older moves to the newer. So reads seen often stay, and a run
// of millions of distinct reads streams through in constant memory.
class DerepCache {
public:
    static constexpr size_t kDefaultGenerationBytes = size_t{16} << 20;
    // Counted per entry on top of its bases and output: the hash node and the string headers.
    static constexpr size_t kEntryOverhead = 128;

    explicit DerepCache(size_t generationBytes = kDefaultGenerationBytes) : limit_(generationBytes) {}

    // The output kept for `bases`, or nullptr. Valid until the next call.
    const RenderedRecord* Find(const std::string& bases);
    // Keeps `rendered` for `bases`; returns it, valid until the next call.
    const RenderedRecord* Insert(const std::string& bases, RenderedRecord&& rendered);
    size_t Entries() const { return young_.size() + old_.size(); }

private:
    // A read's bases with their hash, which is computed once per read and looked up in both
    // generations without copying the bases.
    struct Key {
        size_t hash;
        std::string bases;
    };
    struct KeyView {
        size_t hash;
        std::string_view bases;
    };
    struct KeyHash {
        using is_transparent = void;
        size_t operator()(const Key& k) const noexcept { return k.hash; }
        size_t operator()(const KeyView& k) const noexcept { return k.hash; }
    };
    struct KeyEqual {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const noexcept {
            return a.hash == b.hash && std::string_view(a.bases) == std::string_view(b.bases);
        }
    };
    using Map = std::unordered_map<Key, RenderedRecord, KeyHash, KeyEqual>;

    static size_t Cost(size_t bases, const RenderedRecord& r) { return bases + r.body.size() + kEntryOverhead; }
    // Makes room for `cost` more bytes in the newer generation.
    void Reserve(size_t cost);

    Map young_, old_;
    size_t youngBytes_ = 0, limit_;
};

// The hash of a read's bases (every byte counts, eight at a time).
size_t HashBases(std::string_view bases);

}  // namespace varigap::cli

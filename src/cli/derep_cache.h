// Identical reads analysed once: the output of reads seen before, by their bases, in bounded memory.
#pragma once

#include <string>
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
    using Map = std::unordered_map<std::string, RenderedRecord>;
    static size_t Cost(const std::string& bases, const RenderedRecord& r) {
        return bases.size() + r.body.size() + kEntryOverhead;
    }
    // Makes room for `cost` more bytes in the newer generation.
    void Reserve(size_t cost);

    Map young_, old_;
    size_t youngBytes_ = 0, limit_;
};

}  // namespace varigap::cli

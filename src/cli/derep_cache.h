// Identical reads analysed once: the output of reads seen before, by their bases, in bounded memory.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "cli/format.h"
#include "core/spin_lock.h"

namespace varigap::cli {

// The hash of a read's bases (every byte counts, eight at a time).
size_t HashBases(std::string_view bases);

// A run's reads keyed by their bases (the settings of a run are the same for every read).
// Memory is bounded by two generations of at most `generationBytes` each (bases, output and
// a fixed cost per entry): when the newer is full it becomes the older and the older is
// dropped; a read found in the older moves to the newer. So reads seen often stay, and a run
// of millions of distinct reads streams through in constant memory. A generation keeps its
// reads and outputs in one store and their places in one open-addressed table, so that
// dropping it frees nothing one by one.
class DerepCache {
public:
    // Counted per entry on top of its bases and output: its table slot at half load, and more.
    static constexpr size_t kEntryOverhead = 128;

    explicit DerepCache(size_t generationBytes) : limit_(generationBytes) {}

    // The output kept for `bases` (whose hash is `hash`), or nullptr. Valid until the next call.
    const RenderedView* Find(std::string_view bases, size_t hash);
    const RenderedView* Find(std::string_view bases) { return Find(bases, HashBases(bases)); }
    // Keeps `rendered` for `bases`.
    void Insert(std::string_view bases, size_t hash, const RenderedView& rendered);
    void Insert(std::string_view bases, const RenderedView& rendered) { Insert(bases, HashBases(bases), rendered); }
    size_t Entries() const { return young_.count + old_.count; }

private:
    struct Generation {
        struct Slot {
            size_t hash = 0;
            uint32_t at = 0;  // in store: the bases, then the output
            uint32_t basesSize = 0, bodySize = 0;
            int32_t facts = -1;  // in facts; -1 none
            char strand = 0;
            bool used = false;
        };
        std::vector<Slot> slots;  // a power of two of them, at most half used
        std::string store;
        std::vector<std::shared_ptr<const exports::ReadFacts>> facts;
        size_t count = 0, bytes = 0;

        const Slot* Find(std::string_view bases, size_t hash) const;
        void Add(std::string_view bases, size_t hash, const RenderedView& r, size_t limit);
        RenderedView View(const Slot& s) const;
        // Empty, keeping its room for the next reads.
        void Clear();
    };

    static size_t Cost(size_t bases, const RenderedView& r) {
        return bases + r.body.size() + (r.facts && *r.facts ? (*r.facts)->Bytes() : 0) + kEntryOverhead;
    }
    // Makes room for `cost` more bytes in the newer generation.
    void Reserve(size_t cost);

    Generation young_, old_;
    size_t limit_;
    RenderedView found_;
    std::string moving_;  // the output of a read found in the older generation, on its way
    std::shared_ptr<const exports::ReadFacts> movingFacts_;
};

// The reads one job met again most recently, copied, so that the commonest reads are found
// without a lock: a direct-mapped table of kSlots reads and their output. Only reads seen
// before are kept here, so reads met once never push the common ones out.
class RecentReads {
public:
    static constexpr size_t kSlots = 1024;

    const RenderedRecord* Find(std::string_view bases, size_t hash) const {
        const Slot& s = slots_[hash % kSlots];
        return s.used && s.hash == hash && s.bases == bases ? &s.rendered : nullptr;
    }
    void Keep(std::string_view bases, size_t hash, const RenderedView& rendered) {
        Slot& s = slots_[hash % kSlots];
        s.used = true;
        s.hash = hash;
        s.bases.assign(bases);
        s.rendered.body.assign(rendered.body);
        s.rendered.strand = rendered.strand;
        s.rendered.facts = rendered.facts ? *rendered.facts : nullptr;
    }

private:
    struct Slot {
        bool used = false;
        size_t hash = 0;
        std::string bases;
        RenderedRecord rendered;
    };
    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
};

// The cache of a run, shared by its jobs, so that a read analysed by one job serves them all:
// shards chosen by the hash, each with its own lock and an equal part of the bound.
class SharedDerepCache {
public:
    static constexpr size_t kDefaultBytes = size_t{32} << 20;  // in all, both generations

    // A job that finds a shard taken spins for up to `spin` before it sleeps (see LockSpinning).
    explicit SharedDerepCache(size_t totalBytes = kDefaultBytes, size_t shards = 16,
                              std::chrono::nanoseconds spin = std::chrono::nanoseconds{0});

    // Appends the output kept for `bases` through `emit(const RenderedView&)`; false when
    // there is none.
    template <class Emit>
    bool Use(const std::string& bases, size_t hash, Emit&& emit) {
        Shard& s = ShardOf(hash);
        LockSpinning(s.mutex, spin_);
        std::lock_guard lock(s.mutex, std::adopt_lock);
        const RenderedView* r = s.cache.Find(bases, hash);
        if (!r) return false;
        emit(*r);
        return true;
    }
    void Insert(const std::string& bases, size_t hash, const RenderedView& rendered);

private:
    struct Shard {
        explicit Shard(size_t generationBytes) : cache(generationBytes) {}
        std::mutex mutex;
        DerepCache cache;
    };
    // The high bits pick the shard; the maps use the whole hash.
    Shard& ShardOf(size_t hash) { return *shards_[(hash >> 48) % shards_.size()]; }

    std::vector<std::unique_ptr<Shard>> shards_;
    std::chrono::nanoseconds spin_;
};

}  // namespace varigap::cli

// Identical reads analysed once: the result of reads seen before, by their bases, in bounded memory.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/read_result.h"
#include "core/spin_lock.h"
#include "run/result_store.h"

namespace varigap::run {

// The hash of a read's bases (every byte counts, eight at a time).
size_t HashBases(std::string_view bases);

// A run's results keyed by the bases of their reads (the settings of a run are the same for
// every read). Memory is bounded by two generations of at most `generationBytes` each (bases,
// result and a fixed cost per entry): when the newer is full it becomes the older and the older
// is dropped; a read found in the older moves to the newer. So reads seen often stay, and a run
// of millions of distinct reads streams through in constant memory. A generation keeps the
// bases in one string, their places in one open-addressed table and a copy of each result in
// one ResultStore, so that dropping it frees nothing one by one.
class DerepCache {
public:
    // Counted per entry on top of its bases and result: its table slot at half load, and more.
    static constexpr size_t kEntryOverhead = 128;
    static size_t Cost(size_t bases, const ReadResult& r) { return bases + r.Bytes() + kEntryOverhead; }

    explicit DerepCache(size_t generationBytes) : limit_(generationBytes) {}

    // The result kept for `bases` (whose hash is `hash`), or nullptr. Valid until the next call.
    const ResultPtr* Find(std::string_view bases, size_t hash);
    const ResultPtr* Find(std::string_view bases) { return Find(bases, HashBases(bases)); }
    // Keeps a copy of `result` for `bases`.
    void Insert(std::string_view bases, size_t hash, const ReadResult& result);
    void Insert(std::string_view bases, const ReadResult& result) { Insert(bases, HashBases(bases), result); }
    size_t Entries() const { return young_.count + old_.count; }

private:
    struct Generation {
        struct Slot {
            size_t hash = 0;
            uint32_t at = 0;  // of the bases in store
            uint32_t basesSize = 0;
            uint32_t result = 0;  // in results
            bool used = false;
        };
        std::vector<Slot> slots;  // a power of two of them, at most half used
        std::string store;
        std::vector<ResultPtr> results;
        std::shared_ptr<ResultStore> kept = std::make_shared<ResultStore>();  // the results' memory
        size_t count = 0, bytes = 0;

        const Slot* Find(std::string_view bases, size_t hash) const;
        // Keeps a copy of r.
        void Add(std::string_view bases, size_t hash, const ReadResult& r, size_t limit);
        // Empty, keeping the room of its table and bases for the next reads.
        void Clear();
    };

    // Makes room for `cost` more bytes in the newer generation.
    void Reserve(size_t cost);

    Generation young_, old_;
    size_t limit_;
    ResultPtr moving_;  // the result of a read found in the older generation, on its way
};

// The cache of a run, shared by its jobs, so that a read analysed by one job serves them all:
// shards chosen by the hash, each with its own lock and an equal part of the bound.
class SharedDerepCache {
public:
    static constexpr size_t kDefaultBytes = size_t{32} << 20;  // in all, both generations

    // A job that finds a shard taken spins for up to `spin` before it sleeps (see LockSpinning).
    explicit SharedDerepCache(size_t totalBytes = kDefaultBytes, size_t shards = 16,
                              std::chrono::nanoseconds spin = std::chrono::nanoseconds{0});

    // Hands the result kept for `bases` to `use(const ResultPtr&)` while the shard is held;
    // false when there is none.
    template <class Taker>
    bool Use(const std::string& bases, size_t hash, Taker&& use) {
        Shard& s = ShardOf(hash);
        LockSpinning(s.mutex, spin_);
        std::lock_guard lock(s.mutex, std::adopt_lock);
        const ResultPtr* r = s.cache.Find(bases, hash);
        if (!r) return false;
        use(*r);
        return true;
    }
    void Insert(const std::string& bases, size_t hash, const ReadResult& result);

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

}  // namespace varigap::run

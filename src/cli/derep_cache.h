// Identical reads analysed once: the output of reads seen before, by their bases, in bounded memory.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/format.h"

namespace varigap::cli {

// The hash of a read's bases (every byte counts, eight at a time).
size_t HashBases(std::string_view bases);

// A run's reads keyed by their bases (the settings of a run are the same for every read).
// Memory is bounded by two generations of at most `generationBytes` each (bases, output and
// a fixed cost per entry): when the newer is full it becomes the older and the older is
// dropped; a read found in the older moves to the newer. So reads seen often stay, and a run
// of millions of distinct reads streams through in constant memory.
class DerepCache {
public:
    // Counted per entry on top of its bases and output: the hash node and the string headers.
    static constexpr size_t kEntryOverhead = 128;

    explicit DerepCache(size_t generationBytes) : limit_(generationBytes) {}

    // The output kept for `bases` (whose hash is `hash`), or nullptr. Valid until the next call.
    const RenderedRecord* Find(std::string_view bases, size_t hash);
    const RenderedRecord* Find(std::string_view bases) { return Find(bases, HashBases(bases)); }
    // Keeps `rendered` for `bases`.
    void Insert(std::string_view bases, size_t hash, RenderedRecord&& rendered);
    void Insert(std::string_view bases, RenderedRecord&& rendered) {
        Insert(bases, HashBases(bases), std::move(rendered));
    }
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

    static size_t Cost(size_t bases, const RenderedRecord& r) {
        return bases + r.body.size() + (r.facts ? r.facts->Bytes() : 0) + kEntryOverhead;
    }
    // Makes room for `cost` more bytes in the newer generation.
    void Reserve(size_t cost);

    Map young_, old_;
    size_t youngBytes_ = 0, limit_;
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
    void Keep(std::string_view bases, size_t hash, const RenderedRecord& rendered) {
        Slot& s = slots_[hash % kSlots];
        s.used = true;
        s.hash = hash;
        s.bases.assign(bases);
        s.rendered.body.assign(rendered.body);
        s.rendered.strand = rendered.strand;
        s.rendered.facts = rendered.facts;
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

    explicit SharedDerepCache(size_t totalBytes = kDefaultBytes, size_t shards = 16);

    // Appends the output kept for `bases` through `emit(const RenderedRecord&)`; false when
    // there is none.
    template <class Emit>
    bool Use(const std::string& bases, size_t hash, Emit&& emit) {
        Shard& s = ShardOf(hash);
        std::lock_guard lock(s.mutex);
        const RenderedRecord* r = s.cache.Find(bases, hash);
        if (!r) return false;
        emit(*r);
        return true;
    }
    void Insert(const std::string& bases, size_t hash, RenderedRecord&& rendered);

private:
    struct Shard {
        explicit Shard(size_t generationBytes) : cache(generationBytes) {}
        std::mutex mutex;
        DerepCache cache;
    };
    // The high bits pick the shard; the maps use the whole hash.
    Shard& ShardOf(size_t hash) { return *shards_[(hash >> 48) % shards_.size()]; }

    std::vector<std::unique_ptr<Shard>> shards_;
};

}  // namespace varigap::cli

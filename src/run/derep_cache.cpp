// Identical reads analysed once: the result of reads seen before, by their bases, in bounded memory.
#include "run/derep_cache.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace varigap::run {

size_t HashBases(std::string_view s) {
    // Two lanes of eight bytes, so that the multiplications of one do not wait for the other.
    uint64_t a = 0x9E3779B97F4A7C15ull ^ s.size(), b = 0xD6E8FEB86659FD93ull;
    size_t i = 0;
    for (; i + 16 <= s.size(); i += 16) {
        uint64_t x, y;
        std::memcpy(&x, s.data() + i, 8);
        std::memcpy(&y, s.data() + i + 8, 8);
        a = (a ^ x) * 0xFF51AFD7ED558CCDull;
        b = (b ^ y) * 0xC4CEB9FE1A85EC53ull;
        a ^= a >> 32;
        b ^= b >> 29;
    }
    uint64_t x = 0, y = 0;
    const size_t rest = s.size() - i;
    std::memcpy(&x, s.data() + i, rest < 8 ? rest : 8);
    if (rest > 8) std::memcpy(&y, s.data() + i + 8, rest - 8);
    a = (a ^ x) * 0xFF51AFD7ED558CCDull;
    b = (b ^ y) * 0xC4CEB9FE1A85EC53ull;
    const uint64_t h = (a ^ (b >> 31) ^ (b << 33)) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h ^ (h >> 32));
}

const DerepCache::Generation::Slot* DerepCache::Generation::Find(std::string_view bases, size_t hash) const {
    if (slots.empty()) return nullptr;
    const size_t mask = slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = slots[i];
        if (!s.used) return nullptr;
        if (s.hash == hash && std::string_view(store).substr(s.at, s.basesSize) == bases) return &s;
    }
}

void DerepCache::Generation::Add(std::string_view bases, size_t hash, const ReadResult& r, size_t limit) {
    if (2 * (count + 1) > slots.size()) {  // grow: every entry to its place in a table twice the size
        std::vector<Slot> old(std::max<size_t>(64, 2 * slots.size()));
        old.swap(slots);
        const size_t mask = slots.size() - 1;
        for (const Slot& s : old) {
            if (!s.used) continue;
            size_t i = s.hash & mask;
            while (slots[i].used) i = (i + 1) & mask;
            slots[i] = s;
        }
    }
    // Positions in the store are 32-bit: a generation that would pass them takes nothing more
    // (a bound of gigabytes would be needed to get there).
    if (store.size() + bases.size() > UINT32_MAX) return;
    // The store gets its whole room at once, so that it does not double past the bound.
    if (store.capacity() < limit) store.reserve(limit);
    const size_t mask = slots.size() - 1;
    size_t i = hash & mask;
    while (slots[i].used) i = (i + 1) & mask;
    slots[i] = Slot{hash, static_cast<uint32_t>(store.size()), static_cast<uint32_t>(bases.size()),
                    static_cast<uint32_t>(results.size()), true};
    store.append(bases);
    results.push_back(ResultStore::Keep(kept, r));
    ++count;
}

void DerepCache::Generation::Clear() {
    std::fill(slots.begin(), slots.end(), Slot{});
    store.clear();
    results.clear();
    // A new store: a result still held elsewhere (on its way to the outputs, by another job)
    // keeps the old one, which goes with the last of them.
    kept = std::make_shared<ResultStore>();
    count = bytes = 0;
}

void DerepCache::Reserve(size_t cost) {
    if (young_.bytes + cost <= limit_) return;
    std::swap(young_, old_);
    young_.Clear();
}

const ResultPtr* DerepCache::Find(std::string_view bases, size_t hash) {
    if (const Generation::Slot* s = young_.Find(bases, hash)) return &young_.results[s->result];
    const Generation::Slot* s = old_.Find(bases, hash);
    if (!s) return nullptr;
    // To the newer generation; made room for, the older one may go, so its result is held first.
    moving_ = old_.results[s->result];
    const size_t cost = Cost(bases.size(), *moving_);
    Reserve(cost);
    young_.bytes += cost;
    young_.Add(bases, hash, *moving_, limit_);
    const Generation::Slot* moved = young_.Find(bases, hash);
    return moved ? &young_.results[moved->result] : &moving_;
}

void DerepCache::Insert(std::string_view bases, size_t hash, const ReadResult& result) {
    if (young_.Find(bases, hash)) return;  // another job kept it first: the same result
    const size_t cost = Cost(bases.size(), result);
    Reserve(cost);
    young_.bytes += cost;
    young_.Add(bases, hash, result, limit_);
}

SharedDerepCache::SharedDerepCache(size_t totalBytes, size_t shards, std::chrono::nanoseconds spin) : spin_(spin) {
    for (size_t i = 0; i < shards; ++i) shards_.push_back(std::make_unique<Shard>(totalBytes / shards / 2));
}

void SharedDerepCache::Insert(const std::string& bases, size_t hash, const ReadResult& result) {
    Shard& s = ShardOf(hash);
    LockSpinning(s.mutex, spin_);
    std::lock_guard lock(s.mutex, std::adopt_lock);
    s.cache.Insert(bases, hash, result);
}

}  // namespace varigap::run

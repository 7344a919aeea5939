// Identical reads analysed once: the output of reads seen before, by their bases, in bounded memory.
#include "cli/derep_cache.h"

#include <cstdint>
#include <cstring>

namespace varigap::cli {

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

void DerepCache::Reserve(size_t cost) {
    if (youngBytes_ + cost <= limit_) return;
    const size_t entries = young_.size();
    old_ = std::move(young_);
    young_ = Map();
    young_.reserve(entries);  // the next generation will hold about as many
    youngBytes_ = 0;
}

const RenderedRecord* DerepCache::Find(std::string_view bases, size_t hash) {
    const KeyView key{hash, bases};
    if (auto it = young_.find(key); it != young_.end()) return &it->second;
    auto it = old_.find(key);
    if (it == old_.end()) return nullptr;
    auto node = old_.extract(it);
    const size_t cost = Cost(node.key().bases.size(), node.mapped());
    Reserve(cost);
    youngBytes_ += cost;
    return &young_.insert(std::move(node)).position->second;
}

void DerepCache::Insert(std::string_view bases, size_t hash, RenderedRecord&& rendered) {
    const size_t cost = Cost(bases.size(), rendered);
    Reserve(cost);
    youngBytes_ += cost;
    young_.insert_or_assign(Key{hash, std::string(bases)}, std::move(rendered));
}

SharedDerepCache::SharedDerepCache(size_t totalBytes, size_t shards) {
    for (size_t i = 0; i < shards; ++i) shards_.push_back(std::make_unique<Shard>(totalBytes / shards / 2));
}

void SharedDerepCache::Insert(const std::string& bases, size_t hash, RenderedRecord&& rendered) {
    Shard& s = ShardOf(hash);
    std::lock_guard lock(s.mutex);
    s.cache.Insert(bases, hash, std::move(rendered));
}

}  // namespace varigap::cli

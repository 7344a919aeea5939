// Identical reads analysed once: the output of reads seen before, by their bases, in bounded memory.
#include "cli/derep_cache.h"

#include <cstdint>
#include <cstring>

namespace varigap::cli {

size_t HashBases(std::string_view s) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    uint64_t w = 0;
    std::memcpy(&w, s.data() + i, s.size() - i);
    h = (h ^ w) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<size_t>(h ^ (h >> 29));
}

void DerepCache::Reserve(size_t cost) {
    if (youngBytes_ + cost <= limit_) return;
    const size_t entries = young_.size();
    old_ = std::move(young_);
    young_ = Map();
    young_.reserve(entries);  // the next generation will hold about as many
    youngBytes_ = 0;
}

const RenderedRecord* DerepCache::Find(const std::string& bases) {
    const KeyView key{HashBases(bases), bases};
    if (auto it = young_.find(key); it != young_.end()) return &it->second;
    auto it = old_.find(key);
    if (it == old_.end()) return nullptr;
    auto node = old_.extract(it);
    const size_t cost = Cost(node.key().bases.size(), node.mapped());
    Reserve(cost);
    youngBytes_ += cost;
    return &young_.insert(std::move(node)).position->second;
}

const RenderedRecord* DerepCache::Insert(const std::string& bases, RenderedRecord&& rendered) {
    const size_t cost = Cost(bases.size(), rendered);
    Reserve(cost);
    youngBytes_ += cost;
    auto [it, added] = young_.insert_or_assign(Key{HashBases(bases), bases}, std::move(rendered));
    return &it->second;
}

}  // namespace varigap::cli

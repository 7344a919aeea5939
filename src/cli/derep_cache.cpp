// Identical reads analysed once: the output of reads seen before, by their bases, in bounded memory.
#include "cli/derep_cache.h"

namespace varigap::cli {

void DerepCache::Reserve(size_t cost) {
    if (youngBytes_ + cost <= limit_) return;
    old_ = std::move(young_);
    young_ = Map();
    youngBytes_ = 0;
}

const RenderedRecord* DerepCache::Find(const std::string& bases) {
    if (auto it = young_.find(bases); it != young_.end()) return &it->second;
    auto it = old_.find(bases);
    if (it == old_.end()) return nullptr;
    auto node = old_.extract(it);
    const size_t cost = Cost(node.key(), node.mapped());
    Reserve(cost);
    youngBytes_ += cost;
    return &young_.insert(std::move(node)).position->second;
}

const RenderedRecord* DerepCache::Insert(const std::string& bases, RenderedRecord&& rendered) {
    const size_t cost = Cost(bases, rendered);
    Reserve(cost);
    youngBytes_ += cost;
    auto [it, added] = young_.insert_or_assign(bases, std::move(rendered));
    return &it->second;
}

}  // namespace varigap::cli

// Memory for the results a cache of identical reads keeps: blocks taken from the heap and handed
// out in order, never given back one by one. A result copied in is one stretch of a block, made
// without a call to malloc, and a generation of the cache drops thousands of them at once.
#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

#include "core/read_result.h"

namespace varigap::run {

using ResultPtr = std::shared_ptr<const ReadResult>;

class ResultStore final : public std::pmr::memory_resource {
public:
    static constexpr size_t kBlockBytes = size_t{64} << 10;

    // A copy of `r` in `store`, tables and texts and all. The copy holds the store: its memory
    // stays while anyone holds the copy, even after the cache has let the store go. Copies are
    // not destroyed: their memory goes with the store's (a ReadResult holds nothing else).
    static ResultPtr Keep(const std::shared_ptr<ResultStore>& store, const ReadResult& r);

    // Hands out its memory again from the start, keeping its blocks. Only for a store none of
    // whose results is held any more (nobody else holds the store).
    void Reuse();

private:
    void* do_allocate(size_t bytes, size_t align) override;
    void do_deallocate(void*, size_t, size_t) override {}  // all of it goes with the store
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

    struct Block {
        std::unique_ptr<std::byte[]> bytes;
        size_t size = 0;
    };
    std::vector<Block> blocks_;
    size_t block_ = 0;  // the block being handed out
    size_t at_ = 0;     // in it
};

}  // namespace varigap::run

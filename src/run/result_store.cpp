// Memory for the results a cache of identical reads keeps.
#include "run/result_store.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace varigap::run {

ResultPtr ResultStore::Keep(const std::shared_ptr<ResultStore>& store, const ReadResult& r) {
    void* room = store->allocate(sizeof(ReadResult), alignof(ReadResult));
    // Held through the store: no count of its own, and never destroyed one by one (every table
    // and text of it lies in the store, which goes as a whole).
    return ResultPtr(store, new (room) ReadResult(r, ResultAllocator(store.get())));
}

void ResultStore::Reuse() {
    block_ = 0;
    at_ = 0;
}

void* ResultStore::do_allocate(size_t bytes, size_t align) {
    for (;; ++block_, at_ = 0) {
        if (block_ == blocks_.size()) {
            // A result larger than a block gets a block of its own size.
            const size_t size = std::max(kBlockBytes, bytes + align);
            blocks_.push_back({std::make_unique_for_overwrite<std::byte[]>(size), size});
        }
        Block& b = blocks_[block_];
        const auto base = reinterpret_cast<uintptr_t>(b.bytes.get());
        const size_t start = ((base + at_ + align - 1) & ~(uintptr_t{align} - 1)) - base;
        if (start + bytes <= b.size) {
            at_ = start + bytes;
            return b.bytes.get() + start;
        }
    }
}

}  // namespace varigap::run

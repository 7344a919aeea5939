// Memory for the results a cache of identical reads keeps.
#include "run/result_store.h"

#include <algorithm>
#include <cstdint>

namespace varigap::run {

namespace {

// The allocator of a kept result's own record (its object and its count of holders): it holds
// the store, so that the store outlives every result made in it.
template <class T>
struct StoreAllocator {
    using value_type = T;
    std::shared_ptr<ResultStore> store;

    explicit StoreAllocator(std::shared_ptr<ResultStore> s) : store(std::move(s)) {}
    template <class U>
    StoreAllocator(const StoreAllocator<U>& other) : store(other.store) {}
    T* allocate(size_t n) { return static_cast<T*>(store->allocate(n * sizeof(T), alignof(T))); }
    void deallocate(T*, size_t) noexcept {}
    template <class U>
    bool operator==(const StoreAllocator<U>& other) const {
        return store == other.store;
    }
};

}  // namespace

ResultPtr ResultStore::Keep(const std::shared_ptr<ResultStore>& store, const ReadResult& r) {
    return std::allocate_shared<ReadResult>(StoreAllocator<ReadResult>(store), r, ResultAllocator(store.get()));
}

void ResultStore::Reuse() {
    block_ = 0;
    at_ = 0;
    used_ = 0;
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
            used_ += bytes;
            return b.bytes.get() + start;
        }
    }
}

}  // namespace varigap::run

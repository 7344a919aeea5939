// Sets of the words of conserved regions: hashed letters behind a bit filter, two-bit codes.
#include "engine/detail/word_sets.h"

namespace varigap {

void WordSet::Reset(size_t words, int wl) {
    wl_ = wl;
    slotBits_ = 4;
    filterBits_ = 10;
    while ((size_t{1} << slotBits_) < 2 * words) ++slotBits_;
    while ((size_t{1} << filterBits_) < 16 * words) ++filterBits_;
    slotMask_ = (size_t{1} << slotBits_) - 1;
    filter_.assign(size_t{1} << (filterBits_ - 6), 0);
    slots_.assign(slotMask_ + 1, 0);
    words_.clear();
    words_.reserve(words);
    text_.clear();
}

int32_t WordSet::Add(uint64_t h, const char* at) {
    const uint64_t m = Mix(h);
    const size_t f = static_cast<size_t>(m >> (64 - filterBits_));
    filter_[f >> 6] |= uint64_t{1} << (f & 63);
    size_t slot = static_cast<size_t>(m >> (64 - slotBits_));
    for (; slots_[slot] != 0; slot = (slot + 1) & slotMask_) {
        const Word& w = words_[static_cast<size_t>(slots_[slot] - 1)];
        if (w.hash == h && SameWord(text_.data() + w.at, at, wl_)) return slots_[slot] - 1;
    }
    words_.push_back(Word{h, text_.size()});
    for (int j = 0; j < wl_; ++j) text_ += static_cast<char>(WordByte(at[j]));
    slots_[slot] = static_cast<int32_t>(words_.size());
    return slots_[slot] - 1;
}

void PackedWords::Reset(size_t words, int wl) {
    keys_.clear();
    ids_.clear();
    direct_.clear();
    if (wl <= 8) {  // at most 65536 codes
        direct_.assign(size_t{1} << (2 * wl), -1);
        return;
    }
    int bits = 4;
    while ((size_t{1} << bits) < 2 * words) ++bits;
    shift_ = 64 - bits;
    mask_ = (size_t{1} << bits) - 1;
    keys_.assign(mask_ + 1, 0);
    ids_.assign(mask_ + 1, -1);
}

int32_t PackedWords::Add(uint64_t code, int32_t id) {
    if (!direct_.empty()) {
        int32_t& known = direct_[static_cast<size_t>(code)];
        if (known < 0) known = id;
        return known;
    }
    size_t slot = static_cast<size_t>((code * 0x9e3779b97f4a7c15ULL) >> shift_);
    for (; ids_[slot] >= 0; slot = (slot + 1) & mask_)
        if (keys_[slot] == code) return ids_[slot];
    keys_[slot] = code;
    ids_[slot] = id;
    return id;
}

}  // namespace varigap

#include "strategy/fitness_cache.h"

#include <algorithm>

namespace {

constexpr size_t kFirstSlots = 1024;  // a power of two

// Keys are a dozen words or so: a plain loop beats a call to memcmp.
bool Equal(const uint64_t* a, const uint64_t* b, size_t words) {
    uint64_t differ = 0;
    for (size_t w = 0; w < words; ++w) differ |= a[w] ^ b[w];
    return differ == 0;
}

}  // namespace

FitnessCache::FitnessCache(size_t words, size_t maxEntries)
    : words_(words), maxEntries_(std::max<size_t>(maxEntries, 1)) {
    reset(words);
}

void FitnessCache::reset(size_t words) {
    words_ = words;
    keys_.clear();
    values_.clear();
    slots_.assign(kFirstSlots, 0);
}

uint64_t FitnessCache::hash(const uint64_t* key) const {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (size_t w = 0; w < words_; ++w) {
        h = (h ^ key[w]) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    return h;
}

size_t FitnessCache::slotOf(const uint64_t* key, uint64_t h) const {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = h & mask;; slot = (slot + 1) & mask) {
        const uint32_t entry = slots_[slot];
        if (entry == 0) return slot;
        if (Equal(key, keys_.data() + (entry - 1) * words_, words_)) return slot;
    }
}

std::optional<double> FitnessCache::find(const uint64_t* key) {
    const uint32_t entry = slots_[slotOf(key, hash(key))];
    if (entry == 0) return std::nullopt;
    return values_[entry - 1];
}

void FitnessCache::insert(const uint64_t* key, double fitness) {
    if (values_.size() >= maxEntries_) reset(words_);
    // At most half the slots in use keeps the probes short.
    if (2 * (values_.size() + 1) > slots_.size()) grow();
    const size_t slot = slotOf(key, hash(key));
    if (slots_[slot] != 0) return;
    keys_.insert(keys_.end(), key, key + words_);
    values_.push_back(fitness);
    slots_[slot] = static_cast<uint32_t>(values_.size());
}

void FitnessCache::grow() {
    slots_.assign(slots_.size() * 2, 0);
    for (size_t i = 0; i < values_.size(); ++i) {
        const uint64_t* key = keys_.data() + i * words_;
        slots_[slotOf(key, hash(key))] = static_cast<uint32_t>(i + 1);
    }
}

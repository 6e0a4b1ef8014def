#include "strategy/signal_cache.h"

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

SignalCache::SignalCache(size_t words, size_t maxEntries) : words_(words), maxEntries_(std::max<size_t>(maxEntries, 1)) {
    reset(words);
}

void SignalCache::reset(size_t words) {
    words_ = words;
    keys_.clear();
    values_.clear();
    slots_.assign(kFirstSlots, 0);
}

uint64_t SignalCache::hash(const uint64_t* series) const {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (size_t w = 0; w < words_; ++w) {
        h = (h ^ series[w]) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    return h;
}

size_t SignalCache::slotOf(const uint64_t* series, uint64_t h) const {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = h & mask;; slot = (slot + 1) & mask) {
        const uint32_t entry = slots_[slot];
        if (entry == 0) return slot;
        if (Equal(series, keys_.data() + (entry - 1) * words_, words_)) return slot;
    }
}

std::optional<double> SignalCache::find(const uint64_t* series) {
    ++lookups_;
    const uint32_t entry = slots_[slotOf(series, hash(series))];
    if (entry == 0) return std::nullopt;
    ++hits_;
    return values_[entry - 1];
}

void SignalCache::insert(const uint64_t* series, double fitness) {
    if (values_.size() >= maxEntries_) reset(words_);
    // At most half the slots in use keeps the probes short.
    if (2 * (values_.size() + 1) > slots_.size()) grow();
    const size_t slot = slotOf(series, hash(series));
    if (slots_[slot] != 0) return;
    keys_.insert(keys_.end(), series, series + words_);
    values_.push_back(fitness);
    slots_[slot] = static_cast<uint32_t>(values_.size());
}

void SignalCache::grow() {
    slots_.assign(slots_.size() * 2, 0);
    for (size_t i = 0; i < values_.size(); ++i) {
        const uint64_t* key = keys_.data() + i * words_;
        slots_[slotOf(key, hash(key))] = static_cast<uint32_t>(i + 1);
    }
}

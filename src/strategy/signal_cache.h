#pragma once
// Fitness by the series of held cases: given the cases and the trading rules
// of a run, which cases a strategy holds a position on fixes every trade, so
// the fitness of a series already scored can be reused exactly. Many
// different formulas give the same series (a formula and its redundant
// variants, and the copies selection makes), so a run finds a good share of
// its series here.
//
// Keys are compared whole, never only by hash. When the cache holds
// `maxEntries` series it is emptied and starts again, which bounds its
// memory on long runs. Not thread-safe.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class SignalCache {
public:
    // Series of `words` 64-bit words each.
    explicit SignalCache(size_t words = 0, size_t maxEntries = size_t{1} << 16);

    // Empties the cache for series of `words` words; the counters stay.
    void reset(size_t words);

    // The fitness stored for `series`, counted as a hit or a miss.
    std::optional<double> find(const uint64_t* series);
    // Stores the fitness of a series not yet stored.
    void insert(const uint64_t* series, double fitness);

    size_t size() const { return values_.size(); }
    uint64_t lookups() const { return lookups_; }
    uint64_t hits() const { return hits_; }

private:
    uint64_t hash(const uint64_t* series) const;
    // The slot holding `series`, or the empty slot where it belongs.
    size_t slotOf(const uint64_t* series, uint64_t h) const;
    void grow();

    size_t words_;
    size_t maxEntries_;
    std::vector<uint64_t> keys_;   // entry i: words [i * words, (i + 1) * words)
    std::vector<double> values_;   // entry i's fitness
    std::vector<uint32_t> slots_;  // open addressing: 0 empty, else entry index + 1
    uint64_t lookups_ = 0;
    uint64_t hits_ = 0;
};

#pragma once
// Fitness by an exact key of 64-bit words, for the bit-parallel evaluation
// of one run. Its two keys both fix the fitness, given the run's cases and
// trading rules:
//   - the series of cases a strategy holds a position on, which fixes every
//     trade (many different formulas give the same series: redundant
//     variants, constant formulas, the copies selection makes);
//   - the symbols of a formula's reading frames, which fix its signals.
//
// Keys are compared whole, never only by hash. When the cache holds
// `maxEntries` keys it is emptied and starts again, which bounds its memory
// on long runs. Not thread-safe.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class FitnessCache {
public:
    // Keys of `words` 64-bit words each.
    explicit FitnessCache(size_t words = 0, size_t maxEntries = size_t{1} << 16);

    // Empties the cache for keys of `words` words.
    void reset(size_t words);

    // The fitness stored for `key`, if any.
    std::optional<double> find(const uint64_t* key);
    // Stores the fitness of a key not yet stored.
    void insert(const uint64_t* key, double fitness);

    size_t size() const { return values_.size(); }

private:
    uint64_t hash(const uint64_t* key) const;
    // The slot holding `key`, or the empty slot where it belongs.
    size_t slotOf(const uint64_t* key, uint64_t h) const;
    void grow();

    size_t words_;
    size_t maxEntries_;
    std::vector<uint64_t> keys_;   // entry i: words [i * words, (i + 1) * words)
    std::vector<double> values_;   // entry i's fitness
    std::vector<uint32_t> slots_;  // open addressing: 0 empty, else entry index + 1
};

// The fitness cache: whole-key matches only, across growth, and the bound on its size.
#include <gtest/gtest.h>

#include <random>

#include "strategy/fitness_cache.h"

namespace {

// Keys of two words from 256 values each: many share their first word, so a
// match on anything less than the whole key returns another key's fitness.
TEST(FitnessCache, KeepsEveryKeyAcrossGrowthAndEmptiesAtItsBound) {
    std::mt19937_64 rng(3);
    std::vector<uint64_t> keys(5000 * 2);
    for (uint64_t& k : keys) k = rng() & 0xFF;
    FitnessCache cache(2, 6000);
    for (size_t i = 0; i < 5000; ++i)
        if (!cache.find(&keys[2 * i])) cache.insert(&keys[2 * i], static_cast<double>(i));
    for (size_t i = 0; i < 5000; ++i) {
        const std::optional<double> f = cache.find(&keys[2 * i]);
        ASSERT_TRUE(f);
        // The first of equal keys was stored.
        size_t first = 0;
        while (keys[2 * first] != keys[2 * i] || keys[2 * first + 1] != keys[2 * i + 1]) ++first;
        EXPECT_EQ(*f, static_cast<double>(first));
    }

    FitnessCache small(1, 4);
    for (uint64_t k = 0; k < 4; ++k) small.insert(&k, 1.0);
    EXPECT_EQ(small.size(), 4u);
    const uint64_t fifth = 4;
    small.insert(&fifth, 2.0);
    EXPECT_EQ(small.size(), 1u);
    EXPECT_EQ(small.find(&fifth), 2.0);
    const uint64_t zero = 0;
    EXPECT_FALSE(small.find(&zero));
}

}  // namespace

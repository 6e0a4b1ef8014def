#pragma once
// The engine's three random sources and the draws made from them.
//
// Which source feeds which decision is fixed:
//   symbol source     every integer chooser of the SymbolGenerator (symbols,
//                     positions, genes, transposon lengths); seeded 42 at
//                     start-up, reseeded from the clock when a SymbolGenerator
//                     is built and at the start of every test run;
//   selection source  the tournament draws; seeded 42, never reseeded;
//   real source       every U01 draw; a copy of the symbol source's state
//                     right after its seeding with 42, never reseeded.
//
// Thread-safety: the sources are process-wide and unsynchronised. Only one
// run (or signal computation) may draw from them at a time.
#include <cstdint>
#include <optional>
#include <random>

namespace GEP {

std::mt19937& symbolSource();
std::mt19937& selectionSource();
std::mt19937& realSource();

// Reseeds the symbol source with the clock seed: the calendar time in
// seconds since 1970, low 32 bits, or the override below when one is set.
void reseedSymbolSource();

// Test hook: with a value, every clock reseed uses it instead of the time,
// so whole runs are reproducible; std::nullopt restores the clock.
void setClockSeedOverride(std::optional<uint32_t> seed);

// Test hook: puts all three sources back into their start-up state.
void resetRandomSources();

// Uniform integer in [a, b] drawn from one source. The span/divisor rule
// keeps the draws identical to the engine's historical sequences.
class IntChooser {
public:
    IntChooser(std::mt19937& source, uint32_t minimum, uint32_t maximum) : source_(&source) {
        setRange(minimum, maximum);
    }
    void setRange(uint32_t minimum, uint32_t maximum);
    uint32_t operator()() { return (static_cast<uint32_t>((*source_)()) / divisor_) % range_ + minimum_; }

    uint32_t minimum() const { return minimum_; }
    uint32_t maximum() const { return minimum_ + range_ - 1; }
    uint32_t divisor() const { return divisor_; }

private:
    std::mt19937* source_;
    uint32_t minimum_ = 0;
    uint32_t range_ = 1;
    uint32_t divisor_ = 1;
};

// A uniform real in [0, 1) from the real source.
double u01();

}  // namespace GEP

#include "gep/random.h"

#include <ctime>
#include <stdexcept>

namespace GEP {

namespace {

constexpr uint32_t kStartSeed = 42;

struct Sources {
    // Member order is the seeding order: symbol, selection, then the real
    // source copied from the freshly seeded symbol source.
    std::mt19937 symbol{kStartSeed};
    std::mt19937 selection{kStartSeed};
    std::mt19937 real{symbol};
};

Sources& sources() {
    static Sources s;
    return s;
}

std::optional<uint32_t>& clockSeedOverride() {
    static std::optional<uint32_t> seed;
    return seed;
}

}  // namespace

std::mt19937& symbolSource() { return sources().symbol; }
std::mt19937& selectionSource() { return sources().selection; }
std::mt19937& realSource() { return sources().real; }

void reseedSymbolSource() {
    const uint32_t seed = clockSeedOverride().value_or(static_cast<uint32_t>(std::time(nullptr)));
    sources().symbol.seed(seed);
}

void setClockSeedOverride(std::optional<uint32_t> seed) { clockSeedOverride() = seed; }

void resetRandomSources() { sources() = Sources{}; }

void IntChooser::setRange(uint32_t minimum, uint32_t maximum) {
    if (maximum < minimum || (minimum == 0 && maximum == UINT32_MAX))
        throw std::invalid_argument("IntChooser: bad range");
    minimum_ = minimum;
    range_ = maximum - minimum + 1;
    // Halve the source's range until the remainder bias is small against the
    // range asked for; exact divisors of 2^31 need no halving.
    uint32_t span = 1u << 31;
    uint32_t divisor = 2;
    if (span % range_ == 0) {
        divisor = span / range_;
    } else {
        while ((span / range_) / 32 >= range_) {
            span /= 2;
            divisor *= 2;
        }
    }
    divisor_ = divisor;
}

double u01() {
    constexpr double kScale = 1.0 / 4294967296.0;
    double u;
    do {
        u = static_cast<double>(realSource()()) * kScale;
    } while (u >= 1.0);
    return u;
}

}  // namespace GEP

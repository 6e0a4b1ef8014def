#include "datastore/number_cells.h"

#include <bit>
#include <cmath>
#include <limits>

#include "text/parse.h"

namespace {

// A quick sufficient test for the one below: true only when d lies more than
// 2048 of its own units in the last place (above 2.2e-13·|d|) from every
// rounding boundary of float. Within float's normal range, rounding d to a
// float drops the low 29 bits of its 52-bit fraction, and d lies on a boundary
// exactly when those bits are 1 followed by 28 zeros; at the edge of a binade
// the next boundary is at least 2^27 units away. Integer operations only,
// where the full test needs a chain of dependent float operations.
bool FarFromRoundingBoundary(double d) {
    const uint64_t bits = std::bit_cast<uint64_t>(d);
    const auto exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    if (exponent < -126 || exponent > 126) return false;  // subnormal, overflow, infinity, NaN
    constexpr uint64_t kHalfway = uint64_t{1} << 28;
    const uint64_t dropped = bits & ((uint64_t{1} << 29) - 1);
    const uint64_t distance = dropped > kHalfway ? dropped - kHalfway : kHalfway - dropped;
    return distance > 2048;
}

// SQLite shows a REAL with at least 15 significant digits, so its text parses
// back to within about 5e-15·|d| of d. The float of that value equals the
// float of d unless a rounding boundary between two neighbouring floats lies
// that close to d; the margin below leaves ample room for SQLite's own digit
// generation.
bool NarrowsAlikeFromText(double d) {
    if (FarFromRoundingBoundary(d)) return true;
    // A whole number of at most 15 digits is shown exactly (volumes often
    // are, and an odd one above 2^24 lies right on a boundary).
    if (std::fabs(d) < 1e15 && d == std::trunc(d)) return true;
    const float f = static_cast<float>(d);
    // The rounding boundaries are halfway to the neighbouring floats; at an
    // infinity or a NaN a neighbour is not a number, every comparison fails
    // and the text decides.
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    const double boundary1 = (static_cast<double>(f) + std::bit_cast<float>(bits - 1)) / 2;
    const double boundary2 = (static_cast<double>(f) + std::bit_cast<float>(bits + 1)) / 2;
    const double margin = std::fabs(d) * 1e-13;
    return std::fabs(d - boundary1) > margin && std::fabs(d - boundary2) > margin;
}

}  // namespace

// Both readers take the cell once (ColumnValue) and read its type and number
// from it, rather than asking the statement for each: every call into the
// statement passes through the connection's mutex, and a 1200-bar load reads
// 7200 cells.
float CellAsFloat(const Statement& row, int column) {
    sqlite3_value* cell = row.ColumnValue(column);
    switch (sqlite3_value_type(cell)) {
        case SQLITE_NULL:
            return 0.0f;
        case SQLITE_INTEGER:
            // Its decimal text parses to the same correctly rounded double.
            return static_cast<float>(static_cast<double>(sqlite3_value_int64(cell)));
        case SQLITE_FLOAT: {
            const double d = sqlite3_value_double(cell);
            if (d == 0.0) return 0.0f;  // SQLite shows a negative zero as "0.0"
            if (NarrowsAlikeFromText(d)) return static_cast<float>(d);
            break;
        }
        default:
            break;
    }
    return static_cast<float>(text::ParseReal(row.ColumnText(column)));
}

int32_t CellAsInt(const Statement& row, int column) {
    sqlite3_value* cell = row.ColumnValue(column);
    switch (sqlite3_value_type(cell)) {
        case SQLITE_NULL:
            return 0;
        case SQLITE_INTEGER: {
            // Parsing saturates at the 32-bit range.
            const int64_t v = sqlite3_value_int64(cell);
            constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
            constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
            return static_cast<int32_t>(v < kMin ? kMin : v > kMax ? kMax : v);
        }
        default:
            // A REAL's text may carry an exponent, which integer parsing
            // stops at; only the text gives the same answer.
            return text::ParseInt(row.ColumnText(column));
    }
}

#include "datastore/number_cells.h"

#include <bit>
#include <cmath>
#include <limits>

#include "text/parse.h"

namespace {

// SQLite shows a REAL with at least 15 significant digits, so its text parses
// back to within about 5e-15·|d| of d. The float of that value equals the
// float of d unless a rounding boundary between two neighbouring floats lies
// that close to d; the margin below leaves ample room for SQLite's own digit
// generation.
bool NarrowsAlikeFromText(double d) {
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

float CellAsFloat(const Statement& row, int column) {
    switch (row.ColumnType(column)) {
        case SQLITE_NULL:
            return 0.0f;
        case SQLITE_INTEGER:
            // Its decimal text parses to the same correctly rounded double.
            return static_cast<float>(static_cast<double>(row.ColumnInt64(column)));
        case SQLITE_FLOAT: {
            const double d = row.ColumnDouble(column);
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
    switch (row.ColumnType(column)) {
        case SQLITE_NULL:
            return 0;
        case SQLITE_INTEGER: {
            // Parsing saturates at the 32-bit range.
            const int64_t v = row.ColumnInt64(column);
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

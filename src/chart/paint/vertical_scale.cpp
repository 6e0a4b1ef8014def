#include "chart/paint/vertical_scale.h"

#include <cmath>
#include <limits>

namespace {

// Values beyond the float range (an infinite CCI) or NaN would make the
// whole scale useless; they are left out of it.
void Widen(ValueRange& r, float hi, float lo) {
    if (std::isfinite(hi) && hi > r.max) r.max = hi;
    if (std::isfinite(lo) && lo < r.min) r.min = lo;
}

ValueRange Empty() { return {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::max()}; }

}  // namespace

ValueRange VisibleRange(const std::vector<float>& high, const std::vector<float>& low, int first, int count) {
    ValueRange r = Empty();
    for (int i = first; i < first + count; ++i) Widen(r, high[i], low[i]);
    return r;
}

ValueRange VisibleRange(const std::vector<float>& values, int first, int count) {
    ValueRange r = Empty();
    for (int i = first; i < first + count; ++i) Widen(r, values[i], values[i]);
    return r;
}

#include "desktop/pictures/tap_list.h"

#include <algorithm>
#include <cmath>

namespace glimmora::desktop {

namespace {

// A tap sits inside the tent when its distance from the centre, in units of s, is strictly
// between -1 and 1 and not exactly 0. The centre tap itself is never trimmed, since the
// loops stop at trunc(c).
bool InsideTent(double c, int p, double s) {
    const double t = (c - p) / s;
    return t > -1.0 && t < 1.0 && t != 0.0;
}

// Mirrored at both edges. For the scales the fitting uses the result is always inside the
// picture; the clamp only keeps a caller's odd scale from reading outside a row.
std::int32_t Mirror(int p, int n) {
    if (p < 0) p = -p;
    if (p >= n) p = 2 * n - 1 - p;
    return std::clamp(p, 0, std::max(n - 1, 0));
}

}  // namespace

std::vector<TapRecord> BuildTapList(int n, int m, double s, TapVariant variant) {
    std::vector<TapRecord> records(static_cast<std::size_t>(std::max(m, 0)));
    for (int i = 0; i < m; ++i) {
        TapRecord& r = records[static_cast<std::size_t>(i)];
        const double c = i * s;  // no half-sample offset: output 0 sits on source 0
        int j = static_cast<int>(std::ceil(c - s));
        int k = static_cast<int>(std::floor(c + s));
        const int centre = static_cast<int>(std::trunc(c));
        while (j < centre && !InsideTent(c, j, s)) ++j;
        while (centre < k && !InsideTent(c, k, s)) --k;
        // Below a scale of 1 the window could miss the centre; keep at least that tap.
        j = std::min(j, centre);
        k = std::max(k, centre);

        r.count = k - j + 1;
        r.indices.resize(static_cast<std::size_t>(r.count));
        r.weights.resize(static_cast<std::size_t>(r.count));
        int sum = 0;
        for (int p = j; p <= k; ++p) {
            const int d = std::abs(static_cast<int>(std::trunc((c - p) * 100.0 / s)));
            const auto w = static_cast<std::uint8_t>(
                d < 100 ? static_cast<int>(std::trunc((100 - d) / s)) : 0);
            r.indices[static_cast<std::size_t>(p - j)] = Mirror(p, n);
            r.weights[static_cast<std::size_t>(p - j)] = w;
            sum += w;
        }
        if (sum != 100) {
            std::uint8_t& middle = r.weights[static_cast<std::size_t>(r.count / 2)];
            middle = static_cast<std::uint8_t>(middle + (100 - sum));
        }
        if (variant == TapVariant::kRows) {
            const auto [lo, hi] = std::minmax_element(r.indices.begin(), r.indices.end());
            r.first = *lo;
            r.span = *hi - *lo + 1;
            for (std::int32_t& index : r.indices) index -= r.first;
        }
    }
    return records;
}

}  // namespace glimmora::desktop

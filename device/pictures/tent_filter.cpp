#include "device/pictures/tent_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace glimmora::device {

namespace {

bool InsideSupport(double t) { return t > -1.0 && t < 1.0 && t != 0.0; }

std::int32_t Mirror(std::int64_t j, std::int32_t n) {
    std::int64_t index = j;
    if (j < 0) {
        index = -j;  // mirror without repeating the edge pixel
    } else if (j >= n) {
        index = 2 * static_cast<std::int64_t>(n) - j - 1;  // mirror repeating the edge pixel
    }
    // Reached when the output is one pixel long: n * (1 / n) can fall just short of 1 in
    // doubles (49 is the first such n), so the tap -n stays inside the support and mirrors
    // to n, one past the end. Its weight is 0; the clamp keeps its index on the last pixel.
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(index, 0, n - 1));
}

TapList BuildList(std::int32_t n, std::int32_t i, double s, double r) {
    const double c = i * s;
    std::int64_t lo = static_cast<std::int64_t>(std::ceil(c - s));
    std::int64_t hi = static_cast<std::int64_t>(std::floor(c + s));
    const std::int64_t ci = static_cast<std::int64_t>(c);
    // The multiplications by the reciprocal (not divisions by s) are what the stored
    // pictures were made with; dividing gives different weights at a few positions.
    while (lo < ci && !InsideSupport((c - static_cast<double>(lo)) * r)) ++lo;
    while (hi > ci && !InsideSupport((c - static_cast<double>(hi)) * r)) --hi;

    TapList list;
    const std::int64_t count = hi >= lo ? hi - lo + 1 : 0;
    list.weights.reserve(static_cast<std::size_t>(count));
    list.indices.reserve(static_cast<std::size_t>(count));
    int sum = 0;
    for (std::int64_t j = lo; j <= hi; ++j) {
        const int d = static_cast<int>((c - static_cast<double>(j)) * r * 100.0);
        const int ad = std::abs(d);
        const auto weight =
            static_cast<std::uint8_t>(ad < 100 ? static_cast<int>((100 - ad) * r) : 0);
        list.weights.push_back(weight);
        list.indices.push_back(Mirror(j, n));
        sum += weight;
    }
    if (!list.weights.empty() && sum != 100) {
        std::uint8_t& middle = list.weights[list.weights.size() / 2];
        middle = static_cast<std::uint8_t>(middle - (sum - 100));
    }
    return list;
}

std::vector<TapList> BuildLists(std::int32_t n, std::int32_t m, double s) {
    std::vector<TapList> lists;
    if (n <= 0 || m <= 0) return lists;
    lists.reserve(static_cast<std::size_t>(m));
    const double r = 1.0 / s;
    for (std::int32_t i = 0; i < m; ++i) lists.push_back(BuildList(n, i, s, r));
    return lists;
}

}  // namespace

std::vector<TapList> BuildColumnWeights(std::int32_t n, std::int32_t m, double s) {
    return BuildLists(n, m, s);
}

std::vector<TapList> BuildRowWeights(std::int32_t n, std::int32_t m, double s) {
    std::vector<TapList> lists = BuildLists(n, m, s);
    for (TapList& list : lists) {
        if (list.indices.empty()) continue;
        const auto [low, high] = std::minmax_element(list.indices.begin(), list.indices.end());
        list.first = *low;
        list.span = *high - *low + 1;
        for (std::int32_t& index : list.indices) index -= list.first;
    }
    return lists;
}

}  // namespace glimmora::device

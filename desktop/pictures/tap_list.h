// The desktop tent filter's taps: which source samples feed one output sample, and how much.
#pragma once

#include <cstdint>
#include <vector>

namespace glimmora::desktop {

struct TapRecord {
    std::vector<std::int32_t> indices;  // source sample per tap, mirrored at the edges;
                                        // relative to `first` in the row variant
    std::vector<std::uint8_t> weights;  // percent; one record's weights add up to 100
    std::int32_t count = 0;
    std::int32_t first = 0;  // row variant: lowest source row used
    std::int32_t span = 0;   // row variant: highest source row used - first + 1
};

enum class TapVariant { kColumns, kRows };

// One record per output sample for n source samples shrunk to m with scale s = n / m.
// The arithmetic (division by s, truncations, the correction at tap count / 2) is the
// desktop's own: results differ slightly from the handheld's filter, and that is expected.
std::vector<TapRecord> BuildTapList(int n, int m, double s, TapVariant variant);

}  // namespace glimmora::desktop

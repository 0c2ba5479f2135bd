#include "tests/desktop/pictures/reference_filter.h"

#include <algorithm>

#include "desktop/pictures/tap_list.h"

namespace glimmora::desktop {

Bitmap24 ReferenceTentFilter(int w, int h, int components, int outW, int outH,
                             const std::vector<std::uint8_t>& pixels) {
    const auto cols = BuildTapList(w, outW, static_cast<double>(w) / outW, TapVariant::kColumns);
    const auto rows = BuildTapList(h, outH, static_cast<double>(h) / outH, TapVariant::kRows);
    std::vector<int> horizontal(static_cast<std::size_t>(h) * outW * components);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < outW; ++x)
            for (int c = 0; c < components; ++c) {
                int sum = 0;
                for (int t = 0; t < cols[x].count; ++t)
                    sum +=
                        pixels[(static_cast<std::size_t>(y) * w + cols[x].indices[t]) * components +
                               c] *
                        cols[x].weights[t];
                horizontal[(static_cast<std::size_t>(y) * outW + x) * components + c] = sum;
            }
    Bitmap24 out = MakeBitmap24(outW, outH);
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x)
            for (int c = 0; c < 3; ++c) {
                const int cc = components == 3 ? c : 0;
                long sum = 0;
                for (int t = 0; t < rows[y].count; ++t) {
                    const int sy = rows[y].first + rows[y].indices[t];
                    sum += static_cast<long>(
                               horizontal[(static_cast<std::size_t>(sy) * outW + x) * components +
                                          cc]) *
                           rows[y].weights[t];
                }
                out.Row(y)[3 * x + c] = static_cast<std::uint8_t>(std::min<long>(sum / 10000, 255));
            }
    return out;
}

}  // namespace glimmora::desktop

// The tent filter worked out the slow, obvious way over a whole picture in memory, for
// comparison with the streaming readers.
#pragma once

#include <cstdint>

#include "device/pictures/device_bitmap.h"
#include "device/pictures/tent_filter.h"
#include "tests/support/test_jpeg.h"

namespace glimmora::device::testing {

// Output picture (3 components, blue green red) of width x height.
inline test::Picture ReferenceShrink(const test::Picture& in, int width, int height) {
    const auto columns = BuildColumnWeights(in.width, width, double(in.width) / width);
    const auto rows = BuildRowWeights(in.height, height, double(in.height) / height);
    test::Picture out;
    out.width = width;
    out.height = height;
    out.components = 3;
    out.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    const int channels = in.components == 3 ? 3 : 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int channel = channels == 3 ? c : 0;
                std::uint64_t sum = 0;
                for (std::size_t a = 0; a < rows[y].weights.size(); ++a) {
                    const int sy = rows[y].first + rows[y].indices[a];
                    std::uint64_t h = 0;
                    for (std::size_t b = 0; b < columns[x].weights.size(); ++b)
                        h += columns[x].weights[b] * in.Pixel(columns[x].indices[b], sy)[channel];
                    sum += rows[y].weights[a] * h;
                }
                const std::uint64_t v = sum / 10000;
                out.pixels[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
                    static_cast<std::uint8_t>(v > 255 ? 255 : v);
            }
        }
    }
    return out;
}

// Pixel (x, y) of a bitmap counted from the top-left.
inline const std::uint8_t* BitmapPixel(const DeviceBitmap& bitmap, int x, int y) {
    return bitmap.RowFromTop(y) + 3 * x;
}

}  // namespace glimmora::device::testing

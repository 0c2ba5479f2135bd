// A 24-bit picture in memory: blue, green, red bytes, rows padded to 4 bytes, row 0 on top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace glimmora::desktop {

struct Bitmap24 {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;  // bytes per row, a multiple of 4
    std::vector<std::uint8_t> pixels;

    std::uint8_t* Row(int y) { return pixels.data() + stride * static_cast<std::size_t>(y); }
    const std::uint8_t* Row(int y) const {
        return pixels.data() + stride * static_cast<std::size_t>(y);
    }
};

// Bytes a width x height bitmap needs, or 0 when it is too large to be held (over 1 GiB).
// The sizes come from untrusted files, so they are checked in 64 bits first.
std::size_t Bitmap24Bytes(int width, int height);

// A zero-filled bitmap; throws std::bad_alloc when Bitmap24Bytes says it cannot be held.
Bitmap24 MakeBitmap24(int width, int height);

}  // namespace glimmora::desktop

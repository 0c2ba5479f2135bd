// The largest picture either side decodes. A JPEG header may announce up to 65500 x 65500
// pixels in a few hundred bytes, and the decoder then produces every missing row as filler:
// seconds of work at each open for a file that holds nothing. Real photographs, even
// 200-megapixel ones, stay well below the limit.
#pragma once

#include <cstdint>

namespace glimmora::handoff {

inline constexpr std::uint64_t kMaxPicturePixels = 500'000'000;

// True when a header announcing width x height must be refused before any row is decoded.
constexpr bool HasTooManyPixels(std::uint32_t width, std::uint32_t height) {
    return std::uint64_t{width} * height > kMaxPicturePixels;
}

}  // namespace glimmora::handoff

// Encodes a fitted picture for the handheld: baseline JPEG (JFIF), quality 90, three
// components, in memory.
#pragma once

#include <cstdint>
#include <vector>

#include "desktop/pictures/bitmap24.h"

namespace glimmora::desktop {

inline constexpr int kHandheldJpegQuality = 90;

// The JPEG bytes, or an empty vector when encoding failed (nothing is sent then).
std::vector<std::uint8_t> EncodeJpeg(const Bitmap24& bitmap);

}  // namespace glimmora::desktop

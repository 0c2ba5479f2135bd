// The desktop tent filter applied to a whole picture at once, columns then rows, without any
// row cache: what the streaming resampler must reproduce byte for byte.
#pragma once

#include <cstdint>
#include <vector>

#include "desktop/pictures/bitmap24.h"

namespace glimmora::desktop {

// pixels: w * h * components bytes (components 1 or 3, colour in bitmap order).
Bitmap24 ReferenceTentFilter(int w, int h, int components, int outW, int outH,
                             const std::vector<std::uint8_t>& pixels);

}  // namespace glimmora::desktop

#include "desktop/pictures/bitmap24.h"

#include <cstdint>
#include <limits>
#include <new>

namespace glimmora::desktop {

std::size_t Bitmap24Bytes(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
    const std::uint64_t bytes = stride * static_cast<std::uint64_t>(height);
    // A picture's header can announce up to 65500 x 65500 pixels (12 GB as a bitmap); such a
    // bitmap is refused up front rather than left to the allocator (which on an
    // over-committing system may say yes and fail only when the pages are touched).
    // 1 GiB is far beyond any picture the desktop sends, which is fitted to a screen first.
    constexpr std::uint64_t kMaxBytes = std::uint64_t{1} << 30;
    if (bytes > kMaxBytes ||
        bytes > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max())) {
        return 0;
    }
    return static_cast<std::size_t>(bytes);
}

Bitmap24 MakeBitmap24(int width, int height) {
    const std::size_t bytes = Bitmap24Bytes(width, height);
    if (bytes == 0) throw std::bad_alloc();
    Bitmap24 bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.stride = bytes / static_cast<std::size_t>(height);
    bitmap.pixels.assign(bytes, 0);
    return bitmap;
}

}  // namespace glimmora::desktop

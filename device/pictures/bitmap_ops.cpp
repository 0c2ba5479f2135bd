#include "device/pictures/bitmap_ops.h"

#include "device/pictures/gdi_platform.h"

namespace glimmora::device {

namespace {

void Turn(DeviceBitmap& bitmap, bool left) {
    if (!bitmap.bitmap) return;
    const std::int32_t w = bitmap.Width();
    const std::int32_t h = bitmap.Height();
    DeviceBitmap turned;
    if (!turned.Create(h, w)) return;
    bitmap.DetachMemoryDC();
    for (std::int32_t y = 0; y < h; ++y) {
        const std::uint8_t* in = bitmap.RowFromTop(y);
        for (std::int32_t x = 0; x < w; ++x, in += 3) {
            // Left: (x, y) -> column y, row w-1-x. Right: column h-1-y, row x.
            std::uint8_t* out = left ? turned.RowFromTop(w - 1 - x) + 3 * y
                                     : turned.RowFromTop(x) + 3 * (h - 1 - y);
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
    gdi::DeleteObject(bitmap.bitmap);
    bitmap.info = turned.info;
    bitmap.bitmap = turned.bitmap;
    bitmap.bits = turned.bits;
    turned.bitmap = nullptr;  // now owned by `bitmap`
    turned.bits = nullptr;
}

}  // namespace

void TurnLeft(DeviceBitmap& bitmap) { Turn(bitmap, true); }
void TurnRight(DeviceBitmap& bitmap) { Turn(bitmap, false); }

bool BlendStep(DeviceBitmap& d, const DeviceBitmap& s) {
    std::uint8_t step = static_cast<std::uint8_t>(d.fadeStep + d.fadeIncrement);
    if (step > 10) step = 10;
    d.fadeStep = step;
    if (step >= 10) return false;
    const unsigned k = 10u - step;
    const std::int32_t columnOffset = (s.Width() - d.Width()) / 2;
    const std::int32_t rowOffset = (s.Height() - d.Height()) / 2;
    d.DetachMemoryDC();
    if (!d.bits) return true;
    for (std::int32_t y = 0; y < d.Height(); ++y) {
        std::uint8_t* out = d.RowFromTop(y);
        const std::int32_t sy = y + rowOffset;
        const bool rowInside = s.bits && sy >= 0 && sy < s.Height();
        const std::uint8_t* in = rowInside ? s.RowFromTop(sy) : nullptr;
        for (std::int32_t x = 0; x < d.Width(); ++x, out += 3) {
            const std::int32_t sx = x + columnOffset;
            const bool inside = rowInside && sx >= 0 && sx < s.Width();
            for (int c = 0; c < 3; ++c) {
                const unsigned source = inside ? in[3 * sx + c] : 0u;
                out[c] = static_cast<std::uint8_t>((k * out[c] + step * source) / 10u);
            }
        }
    }
    return true;
}

}  // namespace glimmora::device

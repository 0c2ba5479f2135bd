// Fill a DeviceBitmap from decoded rows: copied at the picture's own size, or shrunk with
// the tent filter, upright or turned by a quarter. Rows are consumed as they are decoded;
// the whole picture is never held.
#pragma once

#include <cstdint>

#include "device/pictures/device_bitmap.h"
#include "device/pictures/picture_fit.h"
#include "device/pictures/scanline_source.h"

namespace glimmora::device {

// Copies the picture at its own size; `orientation` RotateLeft/RotateRight turns it, any
// other value keeps it upright.
bool CopyPicture(ScanlineSource& source, DeviceBitmap& bitmap, std::uint8_t orientation);

// Shrinks the picture to width x height with the tent filter.
bool ReadScaled(ScanlineSource& source, DeviceBitmap& bitmap, std::int32_t width,
                std::int32_t height);
// The same, written turned; the bitmap is height wide and width tall.
bool ReadScaledTurned(ScanlineSource& source, DeviceBitmap& bitmap, std::int32_t width,
                      std::int32_t height, bool left);

// Chooses between the copy and the filter: a picture no larger than the target on both axes
// is copied (never enlarged), anything else is shrunk to the target.
bool FillBitmap(ScanlineSource& source, DeviceBitmap& bitmap, std::uint8_t orientation,
                TargetSize target);

}  // namespace glimmora::device

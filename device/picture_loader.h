// Decodes a JPEG file into a DeviceBitmap that is ready for the screen: shrunk to the
// target size and turned as the orientation setting asks.
#pragma once

#include <cstdint>

#include "device/device_bitmap.h"

namespace glimmora::device {

// True when `bitmap` holds the complete picture; its `orientation` is then the resolved
// one. On false the record may hold an incomplete bitmap, which the caller releases.
// Decoder warnings go to the JPEG message hook (the first one of a decode only); a file
// that is missing, not a JPEG or broken beyond decoding fails without any message.
bool LoadPicture(DeviceBitmap& bitmap, const wchar_t* path, std::int32_t screenWidth,
                 std::int32_t screenHeight, std::uint8_t requestedOrientation,
                 bool fitToScreen);

}  // namespace glimmora::device

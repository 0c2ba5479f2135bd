// Decodes a JPEG file into a DeviceBitmap that is ready for the screen: shrunk to the
// target size and turned as the orientation setting asks.
#pragma once

#include <cstdint>
#include <string>

#include "device/pictures/device_bitmap.h"

namespace glimmora::device {

// Why a load failed, for tools and diagnostics; the viewer itself says nothing more than
// that the picture could not be loaded.
enum class LoadFailure {
    kNone,
    kCannotOpen,     // the file could not be opened
    kNoPicture,      // the header could not be read, or holds no picture
    kTooManyPixels,  // the header announces more pixels than the viewer decodes
    kDecodeError,    // the decoder gave up (decoderMessage says why)
    kNoBitmap,       // the bitmap could not be made (empty or too large target)
    kMissingRows,    // the decoder delivered no row before the last
    kOutOfMemory,    // a filter table or row buffer could not be allocated
};

struct LoadDiagnosis {
    LoadFailure failure = LoadFailure::kNone;
    std::string decoderMessage;  // the library's text for its fatal error, if any
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
    std::int32_t bitmapWidth = 0;  // the size the bitmap was to have
    std::int32_t bitmapHeight = 0;
};

// True when `bitmap` holds the complete picture; its `orientation` is then the resolved
// one. On false the record may hold an incomplete bitmap, which the caller releases.
// Decoder warnings go to the JPEG message hook (the first one of a decode only). A missing
// file or one that is not a JPEG fails without any message; a file broken beyond decoding
// adds none of its own, though a warning met before the decoder gave up was already shown.
bool LoadPicture(DeviceBitmap& bitmap, const wchar_t* path, std::int32_t screenWidth,
                 std::int32_t screenHeight, std::uint8_t requestedOrientation, bool fitToScreen,
                 LoadDiagnosis* diagnosis = nullptr);

}  // namespace glimmora::device

// Which way a picture is turned and how large it is drawn on the handheld's screen.
#pragma once

#include <cstdint>

#include "device/pictures/device_bitmap.h"

namespace glimmora::device {

// Turns the Auto settings into RotateLeft/RotateRight when picture and screen disagree in
// orientation, else Normal; every other value comes back unchanged.
std::uint8_t ResolveOrientation(std::uint8_t requested, std::int32_t screenWidth,
                                std::int32_t screenHeight, std::uint32_t pictureWidth,
                                std::uint32_t pictureHeight);

inline bool IsTurned(std::uint8_t orientation) {
    return orientation == kRotateLeft || orientation == kRotateRight;
}

struct TargetSize {
    std::int32_t width;
    std::int32_t height;
};

// Size of the shrunken picture (before turning, for a turned one). Never larger than the
// picture; without fitToScreen only the screen's longer side limits it.
TargetSize FitPictureSize(std::int32_t pictureWidth, std::int32_t pictureHeight,
                          std::int32_t screenWidth, std::int32_t screenHeight, bool turned,
                          bool fitToScreen);

}  // namespace glimmora::device

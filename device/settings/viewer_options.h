// The viewer's `Options` registry value: the association request, "Fit to Screen" and the
// viewer's display orientation packed in one DWORD. The settings dialog writes it; the
// viewer reads it at start-up.
#pragma once

#include <cstdint>

namespace glimmora::device {

struct ViewerOptions {
    bool associateJpeg = false;    // bit 0: the user asked for the .jpg association
    bool fitToScreen = false;      // bit 1
    std::uint8_t orientation = 0;  // bits 28 to 31: a DisplayOrientation index
};

inline constexpr std::uint32_t kOptionAssociateBit = 1u << 0;
inline constexpr std::uint32_t kOptionFitToScreenBit = 1u << 1;
inline constexpr int kOptionOrientationShift = 28;

// The orientation nibble is taken as stored (0 to 15); whoever applies it treats an index
// above 4 as the loader does.
constexpr ViewerOptions DecodeViewerOptions(std::uint32_t bits) {
    ViewerOptions o;
    o.associateJpeg = (bits & kOptionAssociateBit) != 0;
    o.fitToScreen = (bits & kOptionFitToScreenBit) != 0;
    o.orientation = static_cast<std::uint8_t>(bits >> kOptionOrientationShift);
    return o;
}

// Bits 2 to 27 are always written as 0.
constexpr std::uint32_t EncodeViewerOptions(const ViewerOptions& o) {
    return (o.associateJpeg ? kOptionAssociateBit : 0u) |
           (o.fitToScreen ? kOptionFitToScreenBit : 0u) |
           (static_cast<std::uint32_t>(o.orientation & 0x0F) << kOptionOrientationShift);
}

// The drop-down lists' items, in index order; the texts begin with a blank.
inline constexpr const wchar_t* kOrientationItemTexts[] = {
    L" Normal", L" Auto (Left)", L" Auto (Right)", L" Rotate Left", L" Rotate Right"};

}  // namespace glimmora::device

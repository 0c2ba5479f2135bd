// The four invisible 48 x 48 regions at the picture's corners and the 24 x 24 images drawn in
// them. The regions stay at the same corners of the picture as the user sees it, so they
// move with a turned picture.
#pragma once

#include <array>
#include <cstdint>

#include "device/pictures/geometry.h"

namespace glimmora::device::viewer {

enum NavButton : std::int32_t { kPrevious = 0, kNext = 1, kClose = 2, kSlideshow = 3 };
inline constexpr std::int32_t kNoButton = -1;
inline constexpr std::int32_t kIgnoredTap = 4;
inline constexpr std::int32_t kButtonRegionSize = 48;
inline constexpr std::int32_t kButtonImageSize = 24;

using ButtonRects = std::array<Rect, 4>;

// Regions for a client area of width x height and the picture's orientation (Normal when
// there is no picture); AutoLeft and AutoRight lay out as Normal.
ButtonRects LayoutButtons(std::int32_t width, std::int32_t height, std::uint8_t orientation);

// Top-left corner of a button's image: 6 pixels inside the corner of its region that the
// turned picture puts there.
Point ButtonImagePosition(NavButton button, const Rect& region, std::uint8_t orientation);

// Resource numbers of the four images, by NavButton, for the picture list's position: grey
// Previous before the second picture, grey Next at the last, grey Slideshow under 2 pictures.
std::array<int, 4> ButtonImages(std::int32_t currentIndex, std::int32_t count);

// The region under p, tested Close, Previous, Next, Slideshow; kNoButton when none.
std::int32_t ButtonAt(const ButtonRects& rects, Point p);

}  // namespace glimmora::device::viewer

// The name banner's text, size and corner.
#pragma once

#include <cstdint>
#include <string>

#include "device/pictures/geometry.h"

namespace glimmora::device::overlay {

using viewer::Rect;

// The picture's name as the banner shows it: after the last "\", without the last "." and
// what follows. A path ending in "\" gives an empty name (no banner).
std::wstring PictureDisplayName(const std::wstring& path);

// "Loading " + name + "..."; empty when the name is.
std::wstring LoadingBannerText(const std::wstring& path);

struct BannerSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
// For a text extent of cx x cy: a text-high margin around it, half a text height of air.
BannerSize BannerSizeForText(std::int32_t cx, std::int32_t cy);

// Where the (already turned) banner of width x height goes in the client rectangle: the
// turned picture's top-left corner as the viewer sees it.
Rect BannerPlacement(std::uint8_t orientation, const Rect& client, std::int32_t width,
                     std::int32_t height);

// The calendar's rectangle in client coordinates: its bottom-right corner `margin` pixels
// inside the client area's.
Rect CalendarClientRect(const Rect& client, std::int32_t width, std::int32_t height,
                        std::int32_t margin);

}  // namespace glimmora::device::overlay

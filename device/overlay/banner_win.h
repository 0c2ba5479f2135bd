// The name banner: white text in a framed dark-grey box at the turned picture's top-left
// corner, drawn straight onto the window and gone at the next paint of its area.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace glimmora::device::overlay {

// Draws `text` and records where in `bannerRect`; leaves it as it was when the banner's
// bitmap cannot be made.
void DrawNameBanner(HWND window, const std::wstring& text, std::uint8_t orientation,
                    RECT* bannerRect);

// Repaints the area of the previous banner at once, then shows "Loading <name>..." for
// the picture at `path` (nothing when the path has no name).
void ShowLoadingBanner(HWND window, const std::wstring& path, std::uint8_t orientation,
                       RECT* bannerRect);

}  // namespace glimmora::device::overlay

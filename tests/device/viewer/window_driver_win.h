// Drives a SlideshowWindow that runs modally on the test's own thread: a thread timer runs
// the test's steps one after another from inside the window's message loop (and inside any
// message box it opens), then ends the window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/viewer/slideshow_window_win.h"

namespace glimmora::test {

// A step returns true when done; false to be called again at the next tick (waiting).
using Step = std::function<bool()>;

// Runs the window with the steps; false when they did not finish within `timeoutMs`.
bool RunWindow(device::viewer::SlideshowWindow& window, std::vector<Step> steps,
               std::uint32_t timeoutMs = 20000);

// A step that waits `ms` milliseconds.
Step Wait(std::uint32_t ms);

// Screen pixels, 0x00RRGGBB, rows top-down.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Shot CaptureScreen();
// What the window's own surface holds, client area only.
Shot CaptureWindow(HWND window);

// The text of the message box with this caption, or empty when none is open.
HWND FindMessageBox(const wchar_t* caption);
std::wstring MessageBoxText(HWND box);

// Posts a tap (down and up) at a client point.
void PostTap(HWND window, int x, int y);

}  // namespace glimmora::test

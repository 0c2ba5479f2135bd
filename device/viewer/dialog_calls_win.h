// The slideshow window's way into the options dialog and the folder picker, which live in
// their own part of the viewer. A dialog whose template is missing from the program reports
// "not available": folder mode then ends the window and "Start" beeps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace glimmora::device::viewer {

struct SlideshowChoice {
    std::uint32_t intervalSeconds = 0;
    std::uint32_t orientation = 0;
};

enum class DialogOutcome { kOk, kCancelled, kNotAvailable };

// The options dialog offered by the Slideshow button; kOk ("Start") fills `choice`.
DialogOutcome RunSlideshowOptions(HWND owner, SlideshowChoice* choice);

// The folder picker of folder mode, starting at `startFolder`; kOk fills `chosen` (no
// trailing backslash).
DialogOutcome RunFolderPicker(HWND owner, const std::wstring& startFolder, std::wstring* chosen);

}  // namespace glimmora::device::viewer

// The stylus on the slideshow window: which region a tap began in, when it became a drag,
// and what its release means. The window feeds it positions and carries out the answers.
#pragma once

#include <cstdint>
#include <optional>

#include "device/viewer/button_layout.h"
#include "device/pictures/geometry.h"

namespace glimmora::device::viewer {

// loadStamp while a load runs.
inline constexpr std::uint32_t kLoadRunning = 0xFFFFFFFFu;
inline constexpr std::uint32_t kTapQuietMs = 100;

// True during a load and for 100 ms after it (tick arithmetic wraps). A stamp of 0 means no
// load has ended yet.
bool TapTooSoonAfterLoad(std::uint32_t loadStamp, std::uint32_t now);

// The pan offset along one axis after the stylus moved by `delta`: the picture follows the
// stylus and stops at its edges. A picture no larger than the screen along that axis stays.
std::int32_t DraggedPan(std::int32_t pan, std::int32_t delta, std::int32_t pictureSize,
                        std::int32_t screenSize);

enum class TapUp {
    kNothing,      // the tap was ignored, dragged, or moved too far to count
    kActivate,     // hide the images, then act on `button`
    kCancelPress,  // released outside the pressed region: only hide the images
    kHideImages,   // a tap elsewhere while the images are shown
    kShowImages,   // a short tap elsewhere: show the name and all four images
};

struct TapUpResult {
    TapUp action = TapUp::kNothing;
    std::int32_t button = kNoButton;
};

class TapTracker {
  public:
    // The region the tap began in (0 to 3), kNoButton, or kIgnoredTap for a tap that comes
    // during or just after a load and is ignored down to its release.
    std::int32_t Down(Point p, std::uint32_t loadStamp, std::uint32_t now,
                      const ButtonRects& rects);

    // The step to try while dragging: only with the button held, on a tap that began on no
    // region, and once the stylus has left the 5 x 5 dead zone around lastPoint.
    std::optional<Point> DragStep(Point p, bool leftButtonDown) const;
    // After a step: `moved` when the picture moved. The reference point follows the stylus
    // once the tap has become a drag.
    void DragDone(Point p, bool moved);

    TapUpResult Up(Point p, bool buttonsShown, const ButtonRects& rects);

    // An arrow key held: whether the images on screen go first (`hideFirst`), and whether the
    // key's own image is then drawn (pressedButton becomes `button`).
    bool KeyDown(NavButton button, bool buttonsShown, bool* hideFirst);

    std::int32_t pressedButton = kNoButton;
    bool tapMoved = false;
    Point lastPoint;
};

}  // namespace glimmora::device::viewer

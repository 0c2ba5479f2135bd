#include "device/viewer/tap_tracker.h"

#include <algorithm>
#include <cstdlib>

namespace glimmora::device::viewer {

namespace {
bool InDeadZone(std::int32_t d) { return d > -3 && d < 3; }
bool BeyondTapSlop(std::int32_t d) { return std::abs(d) > 2; }
}  // namespace

bool TapTooSoonAfterLoad(std::uint32_t loadStamp, std::uint32_t now) {
    if (loadStamp == kLoadRunning) return true;
    return loadStamp != 0 && now - loadStamp < kTapQuietMs;
}

std::int32_t DraggedPan(std::int32_t pan, std::int32_t delta, std::int32_t pictureSize,
                        std::int32_t screenSize) {
    if (delta == 0 || pan < 0 || pictureSize <= screenSize) return pan;
    const std::int64_t moved = static_cast<std::int64_t>(pan) - delta;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(moved, 0, static_cast<std::int64_t>(pictureSize) - screenSize));
}

std::int32_t TapTracker::Down(Point p, std::uint32_t loadStamp, std::uint32_t now,
                              const ButtonRects& rects) {
    if (TapTooSoonAfterLoad(loadStamp, now)) {
        pressedButton = kIgnoredTap;
        tapMoved = true;
        return pressedButton;
    }
    lastPoint = p;
    tapMoved = false;
    pressedButton = ButtonAt(rects, p);
    return pressedButton;
}

std::optional<Point> TapTracker::DragStep(Point p, bool leftButtonDown) const {
    if (!leftButtonDown || pressedButton >= 0) return std::nullopt;
    const Point d{p.x - lastPoint.x, p.y - lastPoint.y};
    if (InDeadZone(d.x) && InDeadZone(d.y)) return std::nullopt;
    return d;
}

void TapTracker::DragDone(Point p, bool moved) {
    if (moved) tapMoved = true;
    if (tapMoved) lastPoint = p;
}

TapUpResult TapTracker::Up(Point p, bool buttonsShown, const ButtonRects& rects) {
    if (tapMoved) return {};
    if (pressedButton >= 0 && pressedButton < 4) {
        const bool inside = rects[static_cast<std::size_t>(pressedButton)].Contains(p);
        return {inside ? TapUp::kActivate : TapUp::kCancelPress, pressedButton};
    }
    if (buttonsShown) return {TapUp::kHideImages, kNoButton};
    if (BeyondTapSlop(p.x - lastPoint.x) || BeyondTapSlop(p.y - lastPoint.y)) {
        tapMoved = true;
        return {};
    }
    return {TapUp::kShowImages, kNoButton};
}

bool TapTracker::KeyDown(NavButton button, bool buttonsShown, bool* hideFirst) {
    *hideFirst = buttonsShown && pressedButton != button;
    const bool stillShown = buttonsShown && !*hideFirst;
    if (stillShown) return false;
    pressedButton = button;
    return true;
}

}  // namespace glimmora::device::viewer

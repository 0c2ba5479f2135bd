#include "device/viewer/button_layout.h"

#include "device/pictures/device_bitmap.h"
#include "resources/device/viewer_ids.h"

namespace glimmora::device::viewer {

namespace {
constexpr std::int32_t S = kButtonRegionSize;
constexpr std::int32_t kInset = 6;
constexpr std::int32_t kFar = kInset + kButtonImageSize;  // 30: from the right or bottom edge

enum Corner { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

Point InCorner(const Rect& r, Corner c) {
    switch (c) {
        case kTopLeft: return {r.left + kInset, r.top + kInset};
        case kTopRight: return {r.right - kFar, r.top + kInset};
        case kBottomLeft: return {r.left + kInset, r.bottom - kFar};
        case kBottomRight: break;
    }
    return {r.right - kFar, r.bottom - kFar};
}
}  // namespace

ButtonRects LayoutButtons(std::int32_t W, std::int32_t H, std::uint8_t orientation) {
    ButtonRects r;
    if (orientation == kRotateLeft) {
        r[kPrevious] = {W - S, H - S, W, H};
        r[kNext] = {W - S, 0, W, S};
        r[kClose] = {0, 0, S, S};
        r[kSlideshow] = {W - 2 * S, 0, W - S, S};
    } else if (orientation == kRotateRight) {
        r[kPrevious] = {0, 0, S, S};
        r[kNext] = {0, H - S, S, H};
        r[kClose] = {W - S, H - S, W, H};
        r[kSlideshow] = {S, H - S, 2 * S, H};
    } else {
        r[kPrevious] = {0, H - S, S, H};
        r[kNext] = {W - S, H - S, W, H};
        r[kClose] = {W - S, 0, W, S};
        r[kSlideshow] = {W - S, H - 2 * S, W, H - S};
    }
    return r;
}

Point ButtonImagePosition(NavButton button, const Rect& region, std::uint8_t orientation) {
    // Corner of the region, per button, for no turn / RotateLeft / RotateRight.
    static constexpr Corner kCorners[4][3] = {
        {kBottomLeft, kBottomRight, kTopLeft},   // Previous
        {kBottomRight, kTopRight, kBottomLeft},  // Next
        {kTopRight, kTopLeft, kBottomRight},     // Close
        {kBottomRight, kTopRight, kBottomLeft},  // Slideshow
    };
    const int column = orientation == kRotateLeft ? 1 : orientation == kRotateRight ? 2 : 0;
    return InCorner(region, kCorners[button][column]);
}

std::array<int, 4> ButtonImages(std::int32_t currentIndex, std::int32_t count) {
    std::array<int, 4> ids{};
    ids[kPrevious] = currentIndex >= 1 ? IDB_PREVIOUS : IDB_PREVIOUS_GREY;
    ids[kNext] = currentIndex < count - 1 ? IDB_NEXT : IDB_NEXT_GREY;
    ids[kClose] = IDB_CLOSE;
    ids[kSlideshow] = count >= 2 ? IDB_SLIDESHOW : IDB_SLIDESHOW_GREY;
    return ids;
}

std::int32_t ButtonAt(const ButtonRects& rects, Point p) {
    for (NavButton b : {kClose, kPrevious, kNext, kSlideshow})
        if (rects[b].Contains(p)) return b;
    return kNoButton;
}

}  // namespace glimmora::device::viewer

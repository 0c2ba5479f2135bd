#include "device/pictures/picture_fit.h"

namespace glimmora::device {

namespace {
// (limit / side) * other, in double, truncated toward zero: the stored pictures' sizes
// depend on this exact rounding.
std::int32_t Scaled(std::int32_t limit, std::int32_t side, std::int32_t other) {
    return static_cast<std::int32_t>(static_cast<double>(limit) / static_cast<double>(side) *
                                     static_cast<double>(other));
}
}  // namespace

std::uint8_t ResolveOrientation(std::uint8_t requested, std::int32_t screenWidth,
                                std::int32_t screenHeight, std::uint32_t pictureWidth,
                                std::uint32_t pictureHeight) {
    if (requested != kAutoLeft && requested != kAutoRight) return requested;
    const bool turn = (screenWidth > screenHeight && pictureWidth < pictureHeight) ||
                      (screenWidth < screenHeight && pictureWidth > pictureHeight);
    if (!turn) return kNormal;
    return requested == kAutoLeft ? kRotateLeft : kRotateRight;
}

TargetSize FitPictureSize(std::int32_t pw, std::int32_t ph, std::int32_t W, std::int32_t H,
                          bool turned, bool fitToScreen) {
    TargetSize t{pw, ph};
    if (W < 1 || H < 1) return t;
    if (!turned) {
        if (W > H && pw > W) {
            t.width = W;
            t.height = Scaled(W, pw, ph);
        } else if (W < H && ph > H) {
            t.width = Scaled(H, ph, pw);
            t.height = H;
        }
        if (fitToScreen) {
            if (t.width > W) {
                t.height = Scaled(W, t.width, t.height);
                t.width = W;
            }
            if (t.height > H) {
                t.width = Scaled(H, t.height, t.width);
                t.height = H;
            }
        }
    } else {
        // The shrunken picture is shown turned: its width runs along the screen's height.
        if (W > H && ph > W) {
            t.width = Scaled(W, ph, pw);
            t.height = W;
        } else if (W < H && pw > H) {
            t.width = H;
            t.height = Scaled(H, pw, ph);
        }
        if (fitToScreen) {
            if (t.width > H) {
                t.height = Scaled(H, t.width, t.height);
                t.width = H;
            }
            if (t.height > W) {
                t.width = Scaled(W, t.height, t.width);
                t.height = W;
            }
        }
    }
    return t;
}

}  // namespace glimmora::device

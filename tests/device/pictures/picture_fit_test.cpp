#include "device/pictures/picture_fit.h"

#include <gtest/gtest.h>

namespace glimmora::device {
namespace {

struct FitCase {
    int pw, ph, W, H;
    bool turned, fit;
    int tw, th;
};

TEST(PictureFitTest, TargetSizes) {
    const FitCase cases[] = {
        // Portrait screen, landscape picture: only the height limits without Fit to Screen.
        {640, 480, 240, 320, false, false, 426, 320},
        {640, 480, 240, 320, false, true, 240, 180},
        // The same picture turned: its width runs along the screen's height.
        {640, 480, 240, 320, true, false, 320, 240},
        {640, 480, 240, 320, true, true, 320, 240},
        {480, 640, 240, 320, false, false, 240, 320},
        // Landscape screen.
        {1000, 1, 320, 240, false, false, 320, 0},
        {640, 480, 320, 240, false, false, 320, 240},
        {480, 640, 320, 240, false, false, 320, 426},
        {480, 640, 320, 240, false, true, 180, 240},
        {480, 640, 320, 240, true, false, 240, 320},
        {3000, 200, 320, 240, true, false, 3000, 200},
        {3000, 200, 320, 240, true, true, 240, 16},
        // Square screen: nothing limits without Fit to Screen.
        {640, 480, 240, 240, false, false, 640, 480},
        {640, 480, 240, 240, false, true, 240, 180},
        {480, 640, 240, 240, true, true, 180, 240},
        // Never enlarged; a screen without size changes nothing.
        {100, 50, 240, 320, false, true, 100, 50},
        {100, 50, 240, 320, true, true, 100, 50},
        {640, 480, 0, 320, false, true, 640, 480},
    };
    for (const FitCase& c : cases) {
        const TargetSize t = FitPictureSize(c.pw, c.ph, c.W, c.H, c.turned, c.fit);
        EXPECT_EQ(t.width, c.tw) << c.pw << "x" << c.ph << " on " << c.W << "x" << c.H << " turned "
                                 << c.turned << " fit " << c.fit;
        EXPECT_EQ(t.height, c.th) << c.pw << "x" << c.ph << " on " << c.W << "x" << c.H
                                  << " turned " << c.turned << " fit " << c.fit;
    }
}

TEST(PictureFitTest, OrientationTurnsOnlyAutoSettingsWhenShapesDisagree) {
    // Portrait screen with a landscape picture turns; same shapes or squares do not.
    EXPECT_EQ(ResolveOrientation(kAutoLeft, 240, 320, 640, 480), kRotateLeft);
    EXPECT_EQ(ResolveOrientation(kAutoRight, 240, 320, 640, 480), kRotateRight);
    EXPECT_EQ(ResolveOrientation(kAutoLeft, 320, 240, 480, 640), kRotateLeft);
    EXPECT_EQ(ResolveOrientation(kAutoRight, 320, 240, 480, 640), kRotateRight);
    EXPECT_EQ(ResolveOrientation(kAutoLeft, 240, 320, 480, 640), kNormal);
    EXPECT_EQ(ResolveOrientation(kAutoRight, 320, 240, 640, 480), kNormal);
    EXPECT_EQ(ResolveOrientation(kAutoLeft, 240, 240, 640, 480), kNormal);
    EXPECT_EQ(ResolveOrientation(kAutoRight, 240, 320, 500, 500), kNormal);
    // Fixed settings and unknown values pass through.
    EXPECT_EQ(ResolveOrientation(kNormal, 240, 320, 640, 480), kNormal);
    EXPECT_EQ(ResolveOrientation(kRotateLeft, 240, 320, 480, 640), kRotateLeft);
    EXPECT_EQ(ResolveOrientation(kRotateRight, 320, 240, 640, 480), kRotateRight);
    EXPECT_EQ(ResolveOrientation(9, 240, 320, 640, 480), 9);
}

}  // namespace
}  // namespace glimmora::device

#include <gtest/gtest.h>

#include "device/viewer/tap_tracker.h"

namespace glimmora::device::viewer {
namespace {

const ButtonRects kRects = LayoutButtons(240, 320, 0);
constexpr std::uint32_t kLongAgo = 1000;
constexpr std::uint32_t kNow = 5000;

TEST(TapQuietTest, TapsDuringAndJustAfterALoadAreIgnored) {
    EXPECT_TRUE(TapTooSoonAfterLoad(kLoadRunning, 12345));
    EXPECT_TRUE(TapTooSoonAfterLoad(5000, 5050));
    EXPECT_TRUE(TapTooSoonAfterLoad(5000, 5099));
    EXPECT_FALSE(TapTooSoonAfterLoad(5000, 5100));
    EXPECT_FALSE(TapTooSoonAfterLoad(0, 10));  // no load has ended yet
    // The tick count wraps between the load and the tap.
    EXPECT_TRUE(TapTooSoonAfterLoad(0xFFFFFFF0u, 0x20));
    EXPECT_FALSE(TapTooSoonAfterLoad(0xFFFFFFF0u, 0x60));
}

TEST(DraggedPanTest, FollowsTheStylusAndStopsAtTheEdges) {
    // A 400-pixel-wide picture on a 240-pixel screen can pan from 0 to 160.
    EXPECT_EQ(DraggedPan(80, 10, 400, 240), 70);
    EXPECT_EQ(DraggedPan(80, -10, 400, 240), 90);
    EXPECT_EQ(DraggedPan(5, 50, 400, 240), 0);
    EXPECT_EQ(DraggedPan(150, -50, 400, 240), 160);
    EXPECT_EQ(DraggedPan(80, 0, 400, 240), 80);
    // Narrower pictures (negative offset) and pictures exactly the screen's size stay.
    EXPECT_EQ(DraggedPan(-50, 20, 140, 240), -50);
    EXPECT_EQ(DraggedPan(0, 20, 240, 240), 0);
    // One pixel narrower truncates to offset 0 but must not move by that pixel.
    EXPECT_EQ(DraggedPan(0, 20, 239, 240), 0);
}

TEST(TapTrackerTest, ATapDuringTheQuietTimeIsIgnoredDownToItsRelease) {
    TapTracker t;
    EXPECT_EQ(t.Down({200, 300}, kNow - 50, kNow, kRects), kIgnoredTap);
    EXPECT_FALSE(t.DragStep({100, 100}, true).has_value());
    EXPECT_EQ(t.Up({200, 300}, false, kRects).action, TapUp::kNothing);
}

TEST(TapTrackerTest, ReleaseInsideThePressedRegionActsAndElsewhereCancels) {
    TapTracker t;
    EXPECT_EQ(t.Down({200, 300}, kLongAgo, kNow, kRects), kNext);
    TapUpResult up = t.Up({230, 310}, false, kRects);
    EXPECT_EQ(up.action, TapUp::kActivate);
    EXPECT_EQ(up.button, kNext);

    EXPECT_EQ(t.Down({200, 300}, kLongAgo, kNow, kRects), kNext);
    up = t.Up({10, 300}, true, kRects);  // over Previous
    EXPECT_EQ(up.action, TapUp::kCancelPress);
    EXPECT_EQ(up.button, kNext);
}

TEST(TapTrackerTest, APressOnARegionNeverDrags) {
    TapTracker t;
    t.Down({200, 300}, kLongAgo, kNow, kRects);
    EXPECT_FALSE(t.DragStep({100, 200}, true).has_value());
}

TEST(TapTrackerTest, ShortTapElsewhereTogglesTheImages) {
    TapTracker t;
    EXPECT_EQ(t.Down({120, 160}, kLongAgo, kNow, kRects), kNoButton);
    EXPECT_EQ(t.Up({121, 161}, false, kRects).action, TapUp::kShowImages);
    t.Down({120, 160}, kLongAgo, kNow, kRects);
    EXPECT_EQ(t.Up({120, 160}, true, kRects).action, TapUp::kHideImages);
}

TEST(TapTrackerTest, DeadZoneAndSlopAroundTheStartingPoint) {
    TapTracker t;
    t.Down({120, 160}, kLongAgo, kNow, kRects);
    // Two pixels each way stays inside the 5 x 5 dead zone: no drag, and the release
    // still counts as a tap.
    EXPECT_FALSE(t.DragStep({122, 162}, true).has_value());
    EXPECT_FALSE(t.DragStep({118, 158}, true).has_value());
    EXPECT_FALSE(t.DragStep({130, 170}, false).has_value());  // button not held
    EXPECT_EQ(t.Up({122, 162}, false, kRects).action, TapUp::kShowImages);

    // Three pixels leaves the dead zone; if the picture moved the release does nothing.
    t.Down({120, 160}, kLongAgo, kNow, kRects);
    const auto step = t.DragStep({123, 160}, true);
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(*step, (Point{3, 0}));
    t.DragDone({123, 160}, true);
    EXPECT_EQ(t.lastPoint, (Point{123, 160}));
    EXPECT_EQ(t.Up({123, 160}, false, kRects).action, TapUp::kNothing);
}

TEST(TapTrackerTest, ASmallDragOverAPictureThatCannotMoveShowsNothing) {
    TapTracker t;
    t.Down({120, 160}, kLongAgo, kNow, kRects);
    ASSERT_TRUE(t.DragStep({130, 160}, true).has_value());
    t.DragDone({130, 160}, false);
    // The reference point stays while nothing moved.
    EXPECT_EQ(t.lastPoint, (Point{120, 160}));
    EXPECT_EQ(t.Up({130, 160}, false, kRects).action, TapUp::kNothing);
    EXPECT_TRUE(t.tapMoved);
}

TEST(TapTrackerTest, HeldArrowKeyShowsItsImageOnce) {
    TapTracker t;
    bool hide = false;
    EXPECT_TRUE(t.KeyDown(kNext, false, &hide));
    EXPECT_FALSE(hide);
    EXPECT_EQ(t.pressedButton, kNext);
    // Auto-repeat while the Next image is shown: nothing more.
    EXPECT_FALSE(t.KeyDown(kNext, true, &hide));
    EXPECT_FALSE(hide);
    // The other arrow while Next is shown: hide, then draw Previous.
    EXPECT_TRUE(t.KeyDown(kPrevious, true, &hide));
    EXPECT_TRUE(hide);
    EXPECT_EQ(t.pressedButton, kPrevious);
}

}  // namespace
}  // namespace glimmora::device::viewer

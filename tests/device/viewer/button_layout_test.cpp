#include <gtest/gtest.h>

#include "device/pictures/device_bitmap.h"
#include "device/viewer/button_layout.h"
#include "resources/device/viewer_ids.h"

namespace glimmora::device::viewer {
namespace {

TEST(ButtonLayoutTest, UnturnedPictureOnAPortraitScreen) {
    const ButtonRects r = LayoutButtons(240, 320, kNormal);
    EXPECT_EQ(r[kPrevious], (Rect{0, 272, 48, 320}));
    EXPECT_EQ(r[kNext], (Rect{192, 272, 240, 320}));
    EXPECT_EQ(r[kClose], (Rect{192, 0, 240, 48}));
    EXPECT_EQ(r[kSlideshow], (Rect{192, 224, 240, 272}));
    // The automatic settings never leave a turn in the record, so they lay out unturned.
    EXPECT_EQ(LayoutButtons(240, 320, kAutoLeft), r);
    EXPECT_EQ(LayoutButtons(240, 320, kAutoRight), r);
}

TEST(ButtonLayoutTest, TurnedPicturesKeepTheirCornersAsTheUserSeesThem) {
    const ButtonRects left = LayoutButtons(240, 320, kRotateLeft);
    EXPECT_EQ(left[kPrevious], (Rect{192, 272, 240, 320}));
    EXPECT_EQ(left[kNext], (Rect{192, 0, 240, 48}));
    EXPECT_EQ(left[kClose], (Rect{0, 0, 48, 48}));
    EXPECT_EQ(left[kSlideshow], (Rect{144, 0, 192, 48}));
    const ButtonRects right = LayoutButtons(240, 320, kRotateRight);
    EXPECT_EQ(right[kPrevious], (Rect{0, 0, 48, 48}));
    EXPECT_EQ(right[kNext], (Rect{0, 272, 48, 320}));
    EXPECT_EQ(right[kClose], (Rect{192, 272, 240, 320}));
    EXPECT_EQ(right[kSlideshow], (Rect{48, 272, 96, 320}));
}

TEST(ButtonLayoutTest, ImagesSitSixPixelsInsideTheVisibleCorner) {
    const Rect region{100, 200, 148, 248};
    struct Case {
        NavButton button;
        std::uint8_t orientation;
        Point expected;
    };
    const Case cases[] = {
        {kPrevious, kNormal, {106, 218}},      {kPrevious, kRotateLeft, {118, 218}},
        {kPrevious, kRotateRight, {106, 206}}, {kNext, kNormal, {118, 218}},
        {kNext, kRotateLeft, {118, 206}},      {kNext, kRotateRight, {106, 218}},
        {kClose, kNormal, {118, 206}},         {kClose, kRotateLeft, {106, 206}},
        {kClose, kRotateRight, {118, 218}},    {kSlideshow, kNormal, {118, 218}},
        {kSlideshow, kRotateLeft, {118, 206}}, {kSlideshow, kRotateRight, {106, 218}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ButtonImagePosition(c.button, region, c.orientation), c.expected)
            << "button " << c.button << " orientation " << int(c.orientation);
}

TEST(ButtonLayoutTest, GreyImagesAtTheEndsOfTheListAndForTooFewPictures) {
    EXPECT_EQ(ButtonImages(0, 3),
              (std::array<int, 4>{IDB_PREVIOUS_GREY, IDB_NEXT, IDB_CLOSE, IDB_SLIDESHOW}));
    EXPECT_EQ(ButtonImages(1, 3),
              (std::array<int, 4>{IDB_PREVIOUS, IDB_NEXT, IDB_CLOSE, IDB_SLIDESHOW}));
    EXPECT_EQ(ButtonImages(2, 3),
              (std::array<int, 4>{IDB_PREVIOUS, IDB_NEXT_GREY, IDB_CLOSE, IDB_SLIDESHOW}));
    EXPECT_EQ(ButtonImages(0, 1), (std::array<int, 4>{IDB_PREVIOUS_GREY, IDB_NEXT_GREY, IDB_CLOSE,
                                                      IDB_SLIDESHOW_GREY}));
    // A picture not in the list (-1) with an empty list.
    EXPECT_EQ(ButtonImages(-1, 0), (std::array<int, 4>{IDB_PREVIOUS_GREY, IDB_NEXT_GREY, IDB_CLOSE,
                                                       IDB_SLIDESHOW_GREY}));
}

TEST(ButtonLayoutTest, HitTestingExcludesTheFarEdgesAndPrefersClose) {
    const ButtonRects r = LayoutButtons(240, 320, kNormal);
    EXPECT_EQ(ButtonAt(r, {0, 319}), kPrevious);
    EXPECT_EQ(ButtonAt(r, {48, 300}), kNoButton);
    EXPECT_EQ(ButtonAt(r, {239, 271}), kSlideshow);
    EXPECT_EQ(ButtonAt(r, {239, 272}), kNext);
    EXPECT_EQ(ButtonAt(r, {120, 160}), kNoButton);
    // On a screen smaller than two regions Close and Previous overlap; Close is tested first.
    const ButtonRects tiny = LayoutButtons(48, 48, kNormal);
    EXPECT_EQ(ButtonAt(tiny, {10, 10}), kClose);
}

}  // namespace
}  // namespace glimmora::device::viewer

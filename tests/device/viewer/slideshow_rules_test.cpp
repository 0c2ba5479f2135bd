#include <gtest/gtest.h>

#include "device/settings/viewer_options.h"
#include "device/viewer/slideshow_rules.h"

namespace glimmora::device::viewer {
namespace {

TEST(SlideshowRulesTest, PicturesAreCentredTruncatingTowardZero) {
    EXPECT_EQ(CentredPan(240, 240), 0);
    EXPECT_EQ(CentredPan(140, 240), -50);
    EXPECT_EQ(CentredPan(400, 240), 80);
    EXPECT_EQ(CentredPan(239, 240), 0);
    EXPECT_EQ(CentredPan(237, 240), -1);
}

TEST(SlideshowRulesTest, TitleIsTheFileNameWithTheProgramName) {
    EXPECT_EQ(WindowTitle(L"\\My Documents\\Glimmora_001.jpg"), L"Glimmora_001.jpg - Glimmora");
    EXPECT_EQ(WindowTitle(L"photo.jpg"), L"photo.jpg - Glimmora");
}

TEST(SlideshowRulesTest, OnlyAMeasuredStepOverTheLimitGivesTheFadeUp) {
    EXPECT_FALSE(FadeStepTooSlow(1000, 1490));
    EXPECT_TRUE(FadeStepTooSlow(1000, 1491));
    // A tick count that wrapped during the step is not taken as a slow step.
    EXPECT_FALSE(FadeStepTooSlow(0xFFFFFF00u, 0x400));
}

TEST(SlideshowRulesTest, HandOffIntervalPrecedence) {
    struct Case {
        std::uint32_t current;
        std::optional<std::uint32_t> handed;
        std::optional<std::uint32_t> own;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {10000, 65u, 30u, 65000},                // the handed interval wins
        {10000, 0u, 30u, 10000},                 // 0 keeps the current one
        {0, 0u, 30u, 30000},                     // then the viewer's own setting
        {0, std::nullopt, 0u, 60000},            // nothing anywhere: one minute
        {0, std::nullopt, std::nullopt, 60000},  // the name could not be read
        {7000, std::nullopt, std::nullopt, 7000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SlideIntervalAfterHandOff(c.current, c.handed, c.own), c.expected);
}

TEST(SlideshowRulesTest, StartupOptionsTakeOnlyValidOrientations) {
    EXPECT_EQ(StartupOptionsFromBits(0).manualOrientation, 0);
    EXPECT_FALSE(StartupOptionsFromBits(0).fitToScreen);
    EXPECT_EQ(StartupOptionsFromBits(3u << kOptionOrientationShift).manualOrientation, 3);
    EXPECT_EQ(StartupOptionsFromBits(4u << kOptionOrientationShift).manualOrientation, 4);
    EXPECT_EQ(StartupOptionsFromBits(5u << kOptionOrientationShift).manualOrientation, 0);
    EXPECT_EQ(StartupOptionsFromBits(15u << kOptionOrientationShift).manualOrientation, 0);
    EXPECT_TRUE(StartupOptionsFromBits(kOptionFitToScreenBit).fitToScreen);
    EXPECT_EQ(OrientationSetting(2), 2);
    EXPECT_EQ(OrientationSetting(7), 0);
}

TEST(SlideshowRulesTest, MessagesNameTheFileAndTheFolder) {
    EXPECT_EQ(LoadErrorText(L"\\a\\b.jpg"),
              L"Loading '\\a\\b.jpg' failed! Invalid or corrupted JPEG/JPG file.");
    EXPECT_EQ(NoPictureText(L"\\Pictures\\"), L"No picture file found in \\Pictures\\.");
}

TEST(SlideshowRulesTest, ReservedTicks) {
    EXPECT_TRUE(IsReservedTick(0));
    EXPECT_TRUE(IsReservedTick(0xFFFFFFFFu));
    EXPECT_FALSE(IsReservedTick(1));
}

}  // namespace
}  // namespace glimmora::device::viewer

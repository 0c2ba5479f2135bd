#include "device/settings/viewer_settings.h"

#include <gtest/gtest.h>

namespace glimmora::device {
namespace {

TEST(SlideshowSettingsFromStored, DefaultsKeepsTheIntervalAndOnlyListedOrientations) {
    EXPECT_EQ(SlideshowSettingsFromStored(std::nullopt, std::nullopt).interval, 60u);
    EXPECT_EQ(SlideshowSettingsFromStored(std::nullopt, std::nullopt).orientation, 0u);
    EXPECT_EQ(SlideshowSettingsFromStored(86400u, 4u).interval, 86400u);
    EXPECT_EQ(SlideshowSettingsFromStored(86400u, 4u).orientation, 4u);
    EXPECT_EQ(SlideshowSettingsFromStored(30u, 7u).orientation, 0u);
    EXPECT_EQ(SlideshowSettingsFromStored(30u, 5u).orientation, 0u);
}

TEST(ViewerSettingsFromStored, NothingStoredShowsAutoRightWithBothBoxesClear) {
    const ViewerSettingsControls c = ViewerSettingsFromStored(std::nullopt);
    EXPECT_EQ(c.orientationItem, 2);
    EXPECT_FALSE(c.fitToScreen);
    EXPECT_FALSE(c.associateJpeg);
}

TEST(ViewerSettingsFromStored, UnpacksTheBitsAndSelectsNothingBeyondTheList) {
    const ViewerSettingsControls c = ViewerSettingsFromStored((3u << 28) | 2u | 1u);
    EXPECT_EQ(c.orientationItem, 3);
    EXPECT_TRUE(c.fitToScreen);
    EXPECT_TRUE(c.associateJpeg);
    EXPECT_EQ(ViewerSettingsFromStored(0u).orientationItem, 0);
    EXPECT_EQ(ViewerSettingsFromStored(5u << 28).orientationItem, -1);
    EXPECT_FALSE(ViewerSettingsFromStored(2u).associateJpeg);
}

TEST(OptionsFromControls, PacksOrientationFitAndAssociation) {
    EXPECT_EQ(OptionsFromControls({4, true, true}), (4u << 28) | 3u);
    EXPECT_EQ(OptionsFromControls({1, false, true}), (1u << 28) | 1u);
    EXPECT_EQ(OptionsFromControls({0, true, false}), 2u);
    // No selection stores Normal rather than an index outside the five.
    EXPECT_EQ(OptionsFromControls({-1, true, false}), 2u);
}

TEST(OptionsFromControls, ConfirmingUnchangedRewritesTheSameValue) {
    for (std::uint32_t stored : {0u, 3u, (2u << 28) | 2u, (4u << 28) | 1u}) {
        EXPECT_EQ(OptionsFromControls(ViewerSettingsFromStored(stored)), stored);
    }
}

}  // namespace
}  // namespace glimmora::device

#include "desktop/app/form_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "desktop/app/form_layout.h"

namespace glimmora::desktop::app {
namespace {

TEST(LaunchArgument, StartAndCloseWithoutRegardToCaseAnythingElseIsPlain) {
    EXPECT_EQ(ClassifyLaunchArgument("/start"), LaunchArgument::kStart);
    EXPECT_EQ(ClassifyLaunchArgument("/START"), LaunchArgument::kStart);
    EXPECT_EQ(ClassifyLaunchArgument("/Close"), LaunchArgument::kClose);
    for (const char* plain : {"", "start", "/start2", "-start", "/clos", " /start"}) {
        EXPECT_EQ(ClassifyLaunchArgument(plain), LaunchArgument::kPlain) << plain;
    }
}

TEST(EnablingRule, EveryIdleCombinationOfTheFourInputs) {
    for (int bits = 0; bits < 16; ++bits) {
        EnablingInputs in;
        in.random = bits & 1;
        in.autoStart = bits & 2;
        in.keepPictures = bits & 4;
        in.useDefaultFolder = bits & 8;
        const Enabling e = ComputeEnabling(in);
        SCOPED_TRACE(bits);
        EXPECT_TRUE(e.always);
        EXPECT_FALSE(e.stop);
        EXPECT_EQ(e.direction, !in.random);
        EXPECT_EQ(e.startupDelay, in.autoStart);
        EXPECT_EQ(e.keptPictures, in.keepPictures);
        EXPECT_EQ(e.folderEdit, in.keepPictures && !in.useDefaultFolder);
    }
}

TEST(EnablingRule, RunningDisablesEverythingButStop) {
    for (int bits = 0; bits < 16; ++bits) {
        EnablingInputs in{true, bool(bits & 1), bool(bits & 2), bool(bits & 4), bool(bits & 8)};
        const Enabling e = ComputeEnabling(in);
        EXPECT_TRUE(e.stop);
        EXPECT_FALSE(e.always || e.direction || e.startupDelay || e.keptPictures || e.folderEdit);
    }
}

// Every character 7 units wide, the formed prefix included.
int Fixed(const std::string& text) { return static_cast<int>(text.size()) * 7; }

TEST(FolderLabel, WholePathWhenItFitsOrWhenThereIsNoRoom) {
    EXPECT_EQ(ShortenFolderLabel("C:\\Pictures\\", 84, Fixed), "C:\\Pictures\\");
    EXPECT_EQ(ShortenFolderLabel("C:\\Pictures\\", 0, Fixed), "C:\\Pictures\\");
    EXPECT_EQ(ShortenFolderLabel("C:\\Pictures\\", -5, Fixed), "C:\\Pictures\\");
}

TEST(FolderLabel, CutsTheStartSoTheFolderNameStays) {
    // 12 characters at 7 = 84; 10 units fit "... " plus 6 characters.
    EXPECT_EQ(ShortenFolderLabel("C:\\Pictures\\", 70, Fixed), "... tures\\");
    EXPECT_EQ(ShortenFolderLabel("C:\\Pictures\\", 83, Fixed), "... ctures\\");
}

TEST(FolderLabel, NothingFitsGivesTheEllipsisAlone) {
    EXPECT_EQ(ShortenFolderLabel("C:\\Pictures\\", 20, Fixed), "... ");
    EXPECT_EQ(ShortenFolderLabel("C:\\Pictures\\", 34, Fixed), "... ");
}

TEST(SpinField, ValuesOutsideTheRangeGoToTheNearestBound) {
    EXPECT_EQ(SpinValueFromText("2", 5, 86400), 5);
    EXPECT_EQ(SpinValueFromText("86401", 5, 86400), 86400);
    EXPECT_EQ(SpinValueFromText("99999999999999999999", 5, 86400), 86400);
    EXPECT_EQ(SpinValueFromText("-3", 0, 86400), 0);
    EXPECT_EQ(SpinValueFromText(" 42 ", 1, 100), 42);
    EXPECT_EQ(ClampSpinValue(0, 1, 100), 1);
    EXPECT_EQ(ClampSpinValue(101, 1, 100), 100);
}

TEST(SpinField, EmptyOrUnreadableReadsAsTheMinimum) {
    for (const char* text : {"", "  ", "abc", "12a", "1 2", "-", "+"}) {
        EXPECT_EQ(SpinValueFromText(text, 5, 86400), 5) << text;
    }
}

TEST(DisplayOrderRadios, TagsSetTheSortKeyOrTheDirection) {
    for (int tag : {1, 2, 3}) {
        const RadioClick c = RadioClickForTag(tag);
        EXPECT_TRUE(c.setsSortKey);
        EXPECT_EQ(c.sortKey, tag);
        EXPECT_FALSE(c.setsAscending);
    }
    for (int tag : {0, 6, -1}) {
        const RadioClick c = RadioClickForTag(tag);
        EXPECT_TRUE(c.setsSortKey);
        EXPECT_EQ(c.sortKey, 0);
    }
    EXPECT_TRUE(RadioClickForTag(4).setsAscending && RadioClickForTag(4).ascending);
    EXPECT_TRUE(RadioClickForTag(5).setsAscending && !RadioClickForTag(5).ascending);
    EXPECT_FALSE(RadioClickForTag(5).setsSortKey);
    EXPECT_EQ(RadioTagForSortKey(7), 0);
    EXPECT_EQ(RadioTagForSortKey(-1), 0);
    EXPECT_EQ(RadioTagForSortKey(3), 3);
}

TEST(Layout, EveryControlInsideTheClientAreaWithADistinctIdentifier) {
    std::set<int> ids;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlSpec& c = kControls[i];
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ids.insert(c.id).second);
        EXPECT_GE(c.x, 0);
        EXPECT_GE(c.y, 0);
        EXPECT_LE(c.x + c.width, kClientWidth);
        EXPECT_LE(c.y + c.height, kClientHeight);
        EXPECT_EQ(FindControl(c.id), &c);
    }
    EXPECT_EQ(kControlCount, 34u);
}

}  // namespace
}  // namespace glimmora::desktop::app

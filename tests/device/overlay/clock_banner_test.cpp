#include <gtest/gtest.h>

#include "device/pictures/device_bitmap.h"
#include "device/overlay/banner_layout.h"
#include "device/overlay/clock_text.h"

namespace glimmora::device::overlay {
namespace {

TEST(ClockTextTest, TwelveHourClockWithMeridiem) {
    struct Case {
        int hour, minute;
        const wchar_t* text;
        const wchar_t* meridiem;
    };
    const Case cases[] = {
        {0, 5, L"12:05", L"AM"}, {12, 0, L"12:00", L"PM"},  {13, 7, L"1:07", L"PM"},
        {9, 5, L"9:05", L"AM"},  {11, 59, L"11:59", L"AM"}, {23, 30, L"11:30", L"PM"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClockText(c.hour, c.minute), c.text);
        EXPECT_STREQ(MeridiemText(c.hour), c.meridiem);
    }
}

TEST(ClockTickTest, RedrawsTheStripEachMinuteAndTheCalendarEachDay) {
    const LocalTime shown{2026, 12, 9, 13, 7};
    EXPECT_EQ(DecideClockTick(shown, shown), ClockTick::kNothing);
    EXPECT_EQ(DecideClockTick(shown, {2026, 12, 9, 13, 8}), ClockTick::kRedrawClock);
    EXPECT_EQ(DecideClockTick(shown, {2026, 12, 9, 14, 7}), ClockTick::kRedrawClock);
    EXPECT_EQ(DecideClockTick(shown, {2026, 12, 10, 0, 0}), ClockTick::kRebuildCalendar);
    EXPECT_EQ(DecideClockTick(shown, {2027, 12, 9, 13, 7}), ClockTick::kRebuildCalendar);
}

TEST(ClockTickTest, MeridiemSharesTheDigitsBaseline) {
    const ClockStripLayout s = LayoutClockStrip(12, 50, 27, 6, 3);
    EXPECT_EQ(s.digitsLeft, 12);
    EXPECT_EQ(s.meridiemLeft, 12 + 50 + 3);
    EXPECT_EQ(s.meridiemBottom, 27 - 6 + 3);
}

TEST(BannerTest, NamesWithoutFolderAndExtension) {
    EXPECT_EQ(PictureDisplayName(L"\\My Documents\\Glimmora_001.jpg"), L"Glimmora_001");
    EXPECT_EQ(PictureDisplayName(L"\\a.b\\photo"), L"photo");
    EXPECT_EQ(PictureDisplayName(L"photo.big.jpg"), L"photo.big");
    EXPECT_EQ(LoadingBannerText(L"photo"), L"Loading photo...");
    EXPECT_EQ(LoadingBannerText(L"\\Pictures\\"), L"");
    EXPECT_EQ(LoadingBannerText(L"\\Pictures\\.jpg"), L"");
}

TEST(BannerTest, SizeAndCornerByOrientation) {
    const BannerSize s = BannerSizeForText(60, 13);
    EXPECT_EQ(s.width, 77);
    EXPECT_EQ(s.height, 4 + 19);
    EXPECT_EQ(BannerSizeForText(60, 14).height, 4 + 21);
    const Rect client{0, 0, 240, 320};
    EXPECT_EQ(BannerPlacement(kNormal, client, 77, 23), (Rect{0, 0, 77, 23}));
    EXPECT_EQ(BannerPlacement(kRotateLeft, client, 23, 77), (Rect{0, 243, 23, 320}));
    EXPECT_EQ(BannerPlacement(kRotateRight, client, 23, 77), (Rect{217, 0, 240, 77}));
}

TEST(BannerTest, CalendarSitsInsideTheBottomRightCorner) {
    EXPECT_EQ(CalendarClientRect({0, 0, 240, 320}, 186, 129, 4), (Rect{50, 187, 236, 316}));
}

}  // namespace
}  // namespace glimmora::device::overlay

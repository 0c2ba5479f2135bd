#include <gtest/gtest.h>

#include "device/overlay/calendar_layout.h"

namespace glimmora::device::overlay {
namespace {

constexpr int kMonday = 0;
constexpr int kSunday = 6;
// Measurements of a typical small screen: "99:99" 27 high, "27" 12 x 13, "M" 9 wide.
const CalendarMetrics kMetrics{27, 12, 13, 9};

std::wstring Letters(const CalendarLayout& c) {
    return std::wstring(c.weekdayLetters.begin(), c.weekdayLetters.end());
}

TEST(CalendarDatesTest, WeekdaysAndMonthLengths) {
    EXPECT_EQ(DayOfWeek(2026, 12, 9), 3);  // a Wednesday
    EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);   // a Saturday
    EXPECT_EQ(DayOfWeek(2024, 3, 1), 5);   // a Friday, after a leap day
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2026, 4), 30);
}

TEST(CalendarLayoutTest, RowsFollowTheMonthAndTheFirstDayOfTheWeek) {
    struct Case {
        CalendarDate date;
        int firstDay;
        int rows;
        int firstColumn;  // column of the 1st
    };
    const Case cases[] = {
        // February 2021: 28 days from a Monday; February 2026: 28 days from a Sunday.
        {{2021, 2, 10}, kMonday, 4, 0},
        {{2026, 2, 10}, kSunday, 4, 0},
        {{2026, 2, 10}, kMonday, 5, 6},
        // August 2026: 31 days from a Saturday: six rows when weeks begin on Sunday.
        {{2026, 8, 1}, kSunday, 6, 6},
        // March 2026: 31 days from a Sunday, the last day of a Monday week.
        {{2026, 3, 31}, kMonday, 6, 6},
        {{2026, 3, 31}, kSunday, 5, 0},
        // December 2026 from a Tuesday: the grid stops before January's row.
        {{2026, 12, 25}, kMonday, 5, 1},
    };
    for (const Case& c : cases) {
        const CalendarLayout l = LayoutCalendar(kMetrics, c.date, c.firstDay);
        SCOPED_TRACE(std::to_string(c.date.year) + "-" + std::to_string(c.date.month));
        EXPECT_EQ(l.rows, c.rows);
        ASSERT_EQ(static_cast<int>(l.days.size()), DaysInMonth(c.date.year, c.date.month));
        EXPECT_EQ(l.days.front().number, 1);
        EXPECT_EQ((l.days.front().rect.left - l.weekdayCells[0].left) / l.cellWidth, c.firstColumn);
        EXPECT_EQ(l.height, l.headerHeight + 2 * l.gap + l.cellHeight * (1 + l.rows) + l.margin);
    }
}

TEST(CalendarLayoutTest, WeekdayRowStartsOnTheLocalesFirstDay) {
    EXPECT_EQ(Letters(LayoutCalendar(kMetrics, {2026, 6, 1}, kSunday)), L"SMTWTFS");
    EXPECT_EQ(Letters(LayoutCalendar(kMetrics, {2026, 6, 1}, kMonday)), L"MTWTFSS");
    // June 2026 begins on a Monday: with Monday first the 1st opens the first row.
    const CalendarLayout l = LayoutCalendar(kMetrics, {2026, 6, 1}, kMonday);
    EXPECT_EQ(l.days.front().rect.left, l.weekdayCells[0].left);
    EXPECT_EQ(l.days.front().rect.top, l.weekdayCells[0].bottom);
}

TEST(CalendarLayoutTest, TodayIsTheOneHighlightedCell) {
    const CalendarLayout l = LayoutCalendar(kMetrics, {2026, 12, 9}, kMonday);
    int highlighted = 0;
    for (const DayCell& d : l.days) {
        if (!d.today) continue;
        ++highlighted;
        EXPECT_EQ(d.number, 9);
        // Wednesday of the second row; the amber fill leaves the gap above it black.
        EXPECT_EQ(d.rect.left, l.weekdayCells[2].left);
        EXPECT_EQ(d.rect.top, l.weekdayCells[0].bottom + l.cellHeight);
        EXPECT_EQ(d.fill.top, d.rect.top + l.gap);
        EXPECT_EQ(d.fill.bottom, d.rect.bottom);
    }
    EXPECT_EQ(highlighted, 1);
}

TEST(CalendarLayoutTest, SizesFollowFromTheMeasurements) {
    const CalendarLayout l = LayoutCalendar(kMetrics, {2006, 5, 17}, kMonday);
    // hh = 5*27/4 = 33; g = max(13/12, 1) = 1; m = 4; b = max(12, 9) = 12; cw = 12 + 9 = 21;
    // ch = 13 + 2 = 15; gl = 4 + 31 = 35; gr = 35 + 147 = 182.
    EXPECT_EQ(l.headerHeight, 33);
    EXPECT_EQ(l.gap, 1);
    EXPECT_EQ(l.margin, 4);
    EXPECT_EQ(l.cellWidth, 21);
    EXPECT_EQ(l.cellHeight, 15);
    EXPECT_EQ(l.weekdayCells[0].left, 35);
    EXPECT_EQ(l.width, 186);
    EXPECT_EQ(l.headerBox, (Rect{4, 12, 182, 33}));
    EXPECT_EQ(l.headerText, (Rect{8, 0, 186 - 10, 31}));
    EXPECT_EQ(l.headerLabel, L"5 / 2006");
    EXPECT_EQ(l.weekdayCells[0].top, 35);
    // May 2006 starts on a Monday and needs five rows.
    EXPECT_EQ(l.rows, 5);
    EXPECT_EQ(l.height, 33 + 2 + 15 + 5 * 15 + 4);
    // A wide "M" widens the cells.
    const CalendarLayout wide = LayoutCalendar({27, 12, 13, 20}, {2006, 5, 17}, kMonday);
    EXPECT_EQ(wide.cellWidth, 36);
}

TEST(CalendarLayoutTest, LocaleFirstDayText) {
    EXPECT_EQ(FirstDayFromLocaleText(L"0"), 0);
    EXPECT_EQ(FirstDayFromLocaleText(L"6"), 6);
    EXPECT_EQ(FirstDayFromLocaleText(L""), 0);
    // Anything else stays in 8 bits and still yields a usable weekday row.
    const int odd = FirstDayFromLocaleText(L"/");
    EXPECT_EQ(odd, 255);
    EXPECT_EQ(LayoutCalendar(kMetrics, {2026, 6, 1}, odd).weekdayLetters[0], L"MTWTFSS"[255 % 7]);
}

}  // namespace
}  // namespace glimmora::device::overlay

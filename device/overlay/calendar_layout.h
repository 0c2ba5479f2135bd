// The month calendar laid out from four text measurements, today's date and the locale's
// first day of the week. Drawing only follows these rectangles, so every size and row count
// is decided here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/pictures/geometry.h"

namespace glimmora::device::overlay {

using viewer::Rect;

struct CalendarMetrics {
    std::int32_t clockHeight = 0;   // height of "99:99" in the 16.5 pt bold face
    std::int32_t dayCellWidth = 0;  // size of "27" in the 8 pt face
    std::int32_t dayCellHeight = 0;
    std::int32_t letterWidth = 0;  // width of "M" in the 8.5 pt bold face
};

struct CalendarDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
};

struct DayCell {
    Rect rect;
    int number = 0;      // day of the month
    bool today = false;  // drawn black on amber, the amber filling `fill`
    Rect fill;
};

struct CalendarLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t margin = 0;        // m: a third of the day cell's width
    std::int32_t gap = 0;           // g
    std::int32_t headerHeight = 0;  // hh
    std::int32_t cellWidth = 0;
    std::int32_t cellHeight = 0;
    Rect headerBox;   // filled header grey
    Rect headerText;  // "M / YYYY", right and bottom aligned
    std::wstring headerLabel;
    std::array<Rect, 7> weekdayCells;
    std::array<wchar_t, 7> weekdayLetters{};
    std::vector<DayCell> days;  // in-month cells only; other cells stay black
    int rows = 0;               // 4 to 6
};

// firstDay counts from Monday as the locale reports it (0 Monday ... 6 Sunday).
CalendarLayout LayoutCalendar(const CalendarMetrics& metrics, CalendarDate today, int firstDay);

// 0 Sunday ... 6 Saturday (proleptic Gregorian).
int DayOfWeek(int year, int month, int day);
int DaysInMonth(int year, int month);

// The locale's LOCALE_IFIRSTDAYOFWEEK text: its first character as a digit, taken in 8 bits
// as the handheld does; 0 (Monday) for an empty text.
int FirstDayFromLocaleText(const std::wstring& text);

}  // namespace glimmora::device::overlay

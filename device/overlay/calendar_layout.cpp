#include "device/overlay/calendar_layout.h"

#include <algorithm>

namespace glimmora::device::overlay {

namespace {

struct Day {
    int year;
    int month;
    int day;
};

Day NextDay(Day d) {
    if (++d.day > DaysInMonth(d.year, d.month)) {
        d.day = 1;
        if (++d.month > 12) {
            d.month = 1;
            ++d.year;
        }
    }
    return d;
}

Day PreviousDays(Day d, int count) {
    for (int i = 0; i < count; ++i) {
        if (--d.day < 1) {
            if (--d.month < 1) {
                d.month = 12;
                --d.year;
            }
            d.day = DaysInMonth(d.year, d.month);
        }
    }
    return d;
}

constexpr wchar_t kLetters[] = L"MTWTFSS";

}  // namespace

int DayOfWeek(int year, int month, int day) {
    // Zeller-style count with March as the first month.
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) --year;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

int FirstDayFromLocaleText(const std::wstring& text) {
    if (text.empty()) return 0;
    return static_cast<std::uint8_t>(text[0] - L'0');
}

CalendarLayout LayoutCalendar(const CalendarMetrics& mx, CalendarDate today, int firstDay) {
    CalendarLayout c;
    const std::int32_t hh = (5 * mx.clockHeight) / 4;
    c.headerHeight = hh;
    std::int32_t cy = hh;

    // The grid's first cell: the first day of the week on or before the 1st.
    const int dow1 = DayOfWeek(today.year, today.month, 1);
    const int back = ((dow1 - (firstDay + 1) % 7) % 7 + 7) % 7;
    Day cell = PreviousDays({today.year, today.month, 1}, back);

    const std::int32_t cw0 = mx.dayCellWidth;
    const std::int32_t ch0 = mx.dayCellHeight;
    const std::int32_t g = std::max(ch0 / 12, 1);
    const std::int32_t m = cw0 / 3;
    const std::int32_t b = std::max(cw0, mx.letterWidth);
    const std::int32_t cw = b + (4 * b) / 5;
    const std::int32_t ch = ch0 + (2 * ch0) / 12;
    const std::int32_t gl = m + (3 * cw) / 2;
    const std::int32_t gr = gl + 7 * cw;
    c.gap = g;
    c.margin = m;
    c.cellWidth = cw;
    c.cellHeight = ch;
    c.width = gr + m;

    c.headerBox = {m, (2 * hh) / 5 - g, gr, hh};
    c.headerText = {2 * m, 0, c.width - (5 * m) / 2, hh - 2 * g};
    c.headerLabel = std::to_wstring(today.month) + L" / " + std::to_wstring(today.year);

    cy += 2 * g;
    for (int i = 0; i < 7; ++i) {
        c.weekdayCells[static_cast<std::size_t>(i)] = {gl + i * cw, cy, gl + (i + 1) * cw, cy + ch};
        c.weekdayLetters[static_cast<std::size_t>(i)] = kLetters[(firstDay + i) % 7];
    }
    cy += ch;

    int number = 0;
    for (;;) {
        for (int i = 0; i < 7; ++i) {
            if (cell.month == today.month) {
                DayCell d;
                d.rect = {gl + i * cw, cy, gl + (i + 1) * cw, cy + ch};
                d.number = ++number;
                d.today = d.number == today.day;
                d.fill = {d.rect.left, cy + g, d.rect.right, cy + ch};
                c.days.push_back(d);
            }
            cell = NextDay(cell);
        }
        cy += ch;
        ++c.rows;
        if (cell.month > today.month || cell.year > today.year || c.rows == 6) break;
    }
    c.height = cy + m;
    return c;
}

}  // namespace glimmora::device::overlay

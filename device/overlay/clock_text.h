// The clock strip's texts and the decision the once-a-second clock tick makes.
#pragma once

#include <cstdint>
#include <string>

namespace glimmora::device::overlay {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;  // 0 to 23
    int minute = 0;
};

// "12:05" at five past midnight, "1:07" at 13:07: a 12-hour clock without a leading zero.
std::wstring ClockText(int hour, int minute);
// "AM" before noon, "PM" from noon on.
const wchar_t* MeridiemText(int hour);

enum class ClockTick {
    kNothing,          // same minute as on screen
    kRedrawClock,      // same day, another hour or minute: only the strip changes
    kRebuildCalendar,  // another day: the whole calendar is drawn again
};
ClockTick DecideClockTick(const LocalTime& shown, const LocalTime& now);

// Where the clock's texts go in the strip: the digits from 3m, "AM"/"PM" after them on the
// same baseline.
struct ClockStripLayout {
    std::int32_t digitsLeft = 0;
    std::int32_t meridiemLeft = 0;
    std::int32_t meridiemBottom = 0;
};
// dayCellWidth: width of "27"; digitsWidth, digitsHeight: extent of the time text;
// digitsDescent, meridiemDescent: descents of the two bold faces.
ClockStripLayout LayoutClockStrip(std::int32_t dayCellWidth, std::int32_t digitsWidth,
                                  std::int32_t digitsHeight, std::int32_t digitsDescent,
                                  std::int32_t meridiemDescent);

}  // namespace glimmora::device::overlay

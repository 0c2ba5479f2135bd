#include "device/overlay/clock_text.h"

namespace glimmora::device::overlay {

std::wstring ClockText(int hour, int minute) {
    const int h12 = hour > 12 ? hour - 12 : hour == 0 ? 12 : hour;
    std::wstring minutes = std::to_wstring(minute);
    if (minutes.size() < 2) minutes.insert(0, 1, L'0');
    return std::to_wstring(h12) + L":" + minutes;
}

const wchar_t* MeridiemText(int hour) { return hour < 12 ? L"AM" : L"PM"; }

ClockTick DecideClockTick(const LocalTime& shown, const LocalTime& now) {
    if (shown.year != now.year || shown.month != now.month || shown.day != now.day)
        return ClockTick::kRebuildCalendar;
    if (shown.hour != now.hour || shown.minute != now.minute) return ClockTick::kRedrawClock;
    return ClockTick::kNothing;
}

ClockStripLayout LayoutClockStrip(std::int32_t dayCellWidth, std::int32_t digitsWidth,
                                  std::int32_t digitsHeight, std::int32_t digitsDescent,
                                  std::int32_t meridiemDescent) {
    const std::int32_t m = dayCellWidth / 3;
    const std::int32_t a = (3 * dayCellWidth) / 10;
    ClockStripLayout s;
    s.digitsLeft = 3 * m;
    s.meridiemLeft = 3 * m + digitsWidth + a;
    s.meridiemBottom = digitsHeight - digitsDescent + meridiemDescent;
    return s;
}

}  // namespace glimmora::device::overlay

#include "device/overlay/local_clock_win.h"

#include <string>

#include "device/overlay/calendar_layout.h"

namespace glimmora::device::overlay {

namespace {
LocalTimeSource g_time = nullptr;
FirstDaySource g_firstDay = nullptr;
}  // namespace

void ReadLocalTime(SYSTEMTIME* now) {
    if (g_time) {
        g_time(now);
    } else {
        ::GetLocalTime(now);
    }
}

int FirstDayOfWeek() {
    if (g_firstDay) return g_firstDay();
    wchar_t text[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, text, 8) == 0) return 0;
    return FirstDayFromLocaleText(text);
}

void SetLocalTimeSourceForTesting(LocalTimeSource source) { g_time = source; }
void SetFirstDaySourceForTesting(FirstDaySource source) { g_firstDay = source; }

LocalTime ToLocalTime(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
}

}  // namespace glimmora::device::overlay

// Local time and the locale's first day of the week, as the overlays read them. Tests put a
// fixed clock and a chosen first weekday in their place.
#pragma once

#include <windows.h>

#include "device/overlay/clock_text.h"

namespace glimmora::device::overlay {

using LocalTimeSource = void (*)(SYSTEMTIME* now);
using FirstDaySource = int (*)();

void ReadLocalTime(SYSTEMTIME* now);
// 0 Monday ... 6 Sunday, from LOCALE_IFIRSTDAYOFWEEK; 0 when the locale cannot say.
int FirstDayOfWeek();

// nullptr restores the system's.
void SetLocalTimeSourceForTesting(LocalTimeSource source);
void SetFirstDaySourceForTesting(FirstDaySource source);

LocalTime ToLocalTime(const SYSTEMTIME& t);

}  // namespace glimmora::device::overlay

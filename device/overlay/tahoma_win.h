// The handheld's one face, Tahoma, at a point size in tenths converted for the screen as the
// framework's point-size font creation does.
#pragma once

#include <windows.h>

#include "common/unique_gdi_win.h"

namespace glimmora::device::overlay {

UniqueFont TahomaFont(int tenthsOfPoint, int weight = FW_NORMAL);

// Text extent of `text` in `dc` with `font` selected for the measurement only.
SIZE MeasureText(HDC dc, HGDIOBJ font, const wchar_t* text);

}  // namespace glimmora::device::overlay

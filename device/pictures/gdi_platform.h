// The few GDI calls a DeviceBitmap makes. The Win32 build forwards them to GDI; the native
// build keeps the same pixel layout in plain memory, so the pixel code runs unchanged in both.
#pragma once

#include <cstdint>

#include "device/pictures/device_bitmap.h"

namespace glimmora::device::gdi {

// CreateDIBSection(no DC, info, DIB_RGB_COLORS, &bits, no mapping, 0). None on failure.
GdiHandle CreateDibSection(const BitmapInfo& info, std::uint8_t** bits);
// CreateCompatibleDC(no reference DC).
GdiHandle CreateMemoryDC();
// SelectObject; returns the object the DC held before.
GdiHandle SelectObject(GdiHandle dc, GdiHandle object);
void DeleteObject(GdiHandle object);
void DeleteDC(GdiHandle dc);

// Bitmaps and DCs made through this layer and not yet deleted, so tests can see leaks.
int LiveObjects();

}  // namespace glimmora::device::gdi

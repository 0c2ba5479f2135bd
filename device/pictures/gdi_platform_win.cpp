// GDI behind the DeviceBitmap: a real DIB section and a real memory DC.
#include <windows.h>

#include <atomic>
#include <cstddef>

#include "device/pictures/gdi_platform.h"

namespace glimmora::device::gdi {

static_assert(sizeof(BitmapInfoHeader) == sizeof(BITMAPINFOHEADER));
static_assert(offsetof(BitmapInfoHeader, biSizeImage) == offsetof(BITMAPINFOHEADER, biSizeImage));
static_assert(offsetof(BitmapInfoHeader, biClrImportant) ==
              offsetof(BITMAPINFOHEADER, biClrImportant));
static_assert(sizeof(BitmapInfo) == sizeof(BITMAPINFO));
static_assert(sizeof(RgbQuad) == sizeof(RGBQUAD));

namespace {
std::atomic<int> g_live{0};
}

GdiHandle CreateDibSection(const BitmapInfo& info, std::uint8_t** bits) {
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                        DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) {
        *bits = nullptr;
        return nullptr;
    }
    ++g_live;
    *bits = static_cast<std::uint8_t*>(pixels);
    return bitmap;
}

GdiHandle CreateMemoryDC() {
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (dc) ++g_live;
    return dc;
}

GdiHandle SelectObject(GdiHandle dc, GdiHandle object) {
    return ::SelectObject(static_cast<HDC>(dc), static_cast<HGDIOBJ>(object));
}

void DeleteObject(GdiHandle object) {
    if (::DeleteObject(static_cast<HGDIOBJ>(object))) --g_live;
}

void DeleteDC(GdiHandle dc) {
    if (::DeleteDC(static_cast<HDC>(dc))) --g_live;
}

int LiveObjects() { return g_live; }

}  // namespace glimmora::device::gdi

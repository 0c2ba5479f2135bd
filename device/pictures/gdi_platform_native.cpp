// Plain-memory stand-in for the DIB section and memory DC on hosts without GDI. It keeps the
// DIB layout (bottom-up rows, BGR, 4-byte stride) and the select/restore bookkeeping, so the
// DeviceBitmap life cycle behaves as under GDI.
#include <atomic>
#include <cstdlib>
#include <new>

#include "device/pictures/gdi_platform.h"

namespace glimmora::device::gdi {

namespace {

struct NativeBitmap {
    std::uint8_t* pixels;
};

struct NativeDC {
    GdiHandle selected;
};

// What a fresh memory DC holds before anything is selected (GDI's 1x1 stock bitmap).
NativeBitmap g_stockBitmap{nullptr};
std::atomic<int> g_live{0};

}  // namespace

GdiHandle CreateDibSection(const BitmapInfo& info, std::uint8_t** bits) {
    *bits = nullptr;
    const BitmapInfoHeader& h = info.bmiHeader;
    if (h.biWidth <= 0 || h.biHeight <= 0 || h.biBitCount != 24) return nullptr;
    // Zeroed like a fresh DIB section's pages, which keeps native output deterministic.
    auto* pixels = static_cast<std::uint8_t*>(std::calloc(h.biSizeImage, 1));
    if (!pixels) return nullptr;
    auto* bitmap = new (std::nothrow) NativeBitmap{pixels};
    if (!bitmap) {
        std::free(pixels);
        return nullptr;
    }
    ++g_live;
    *bits = pixels;
    return bitmap;
}

GdiHandle CreateMemoryDC() {
    auto* dc = new (std::nothrow) NativeDC{&g_stockBitmap};
    if (dc) ++g_live;
    return dc;
}

GdiHandle SelectObject(GdiHandle dc, GdiHandle object) {
    auto* native = static_cast<NativeDC*>(dc);
    GdiHandle previous = native->selected;
    native->selected = object;
    return previous;
}

void DeleteObject(GdiHandle object) {
    if (object == &g_stockBitmap) return;
    auto* bitmap = static_cast<NativeBitmap*>(object);
    std::free(bitmap->pixels);
    delete bitmap;
    --g_live;
}

void DeleteDC(GdiHandle dc) {
    delete static_cast<NativeDC*>(dc);
    --g_live;
}

int LiveObjects() { return g_live; }

}  // namespace glimmora::device::gdi

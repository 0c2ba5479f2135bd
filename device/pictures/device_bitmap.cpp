#include "device/pictures/device_bitmap.h"

#include <cstring>

#include "device/pictures/gdi_platform.h"

namespace glimmora::device {

namespace {
// A 32-bit process cannot map more; refusing early keeps both builds failing alike.
constexpr std::uint64_t kMaxImageBytes = 0x7fffffffu;
}  // namespace

std::uint64_t RowStride(std::int64_t width) {
    if (width <= 0) return 0;
    return ((static_cast<std::uint64_t>(width) * 24 + 31) >> 3) & ~std::uint64_t{3};
}

void DeviceBitmap::Reset() {
    memoryDC = nullptr;
    previousObject = nullptr;
    bitmap = nullptr;
    bits = nullptr;
    std::memset(&info, 0, sizeof info);
    orientation = kNormal;
    fadeIncrement = 2;
    fadeStep = 0;
}

void DeviceBitmap::FreeHeld() {
    if (previousObject) gdi::SelectObject(memoryDC, previousObject);
    if (bitmap) gdi::DeleteObject(bitmap);
    if (memoryDC) gdi::DeleteDC(memoryDC);
    memoryDC = nullptr;
    previousObject = nullptr;
    bitmap = nullptr;
    bits = nullptr;
}

bool DeviceBitmap::Create(std::int32_t width, std::int32_t height) {
    FreeHeld();
    std::memset(&info, 0, sizeof info);
    // A negative height would ask GDI for a top-down bitmap and break the row order every
    // reader relies on, so only positive sizes are accepted.
    const std::uint64_t stride = RowStride(width);
    if (width <= 0 || height <= 0 || stride * static_cast<std::uint64_t>(height) > kMaxImageBytes)
        return false;
    BitmapInfoHeader& h = info.bmiHeader;
    h.biSize = sizeof(BitmapInfoHeader);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = 0;  // BI_RGB
    h.biSizeImage = static_cast<std::uint32_t>(stride * static_cast<std::uint64_t>(height));
    bitmap = gdi::CreateDibSection(info, &bits);
    if (!bitmap) {
        std::memset(&info, 0, sizeof info);
        bits = nullptr;
        return false;
    }
    return true;
}

void DeviceBitmap::Release() { FreeHeld(); }

GdiHandle DeviceBitmap::GetMemoryDC() {
    if (!memoryDC && bitmap) {
        memoryDC = gdi::CreateMemoryDC();
        if (memoryDC) previousObject = gdi::SelectObject(memoryDC, bitmap);
    }
    return memoryDC;
}

GdiHandle DeviceBitmap::DetachMemoryDC() {
    if (memoryDC) {
        if (previousObject) gdi::SelectObject(memoryDC, previousObject);
        gdi::DeleteDC(memoryDC);
        memoryDC = nullptr;
        previousObject = nullptr;
    }
    return bitmap;
}

}  // namespace glimmora::device

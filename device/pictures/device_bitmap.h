// The handheld's picture and canvas record: a 24-bit bottom-up DIB section with a memory DC
// made on demand. Every picture, frame and overlay on the handheld lives in one of these.
#pragma once

#include <cstddef>
#include <cstdint>

namespace glimmora::device {

// Field for field the platform's BITMAPINFOHEADER and RGBQUAD; the Win32 glue checks the
// layouts match, so `info` can be handed to GDI as it is.
struct BitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};

struct RgbQuad {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};

struct BitmapInfo {
    BitmapInfoHeader bmiHeader;
    RgbQuad bmiColors[1];
};

// GDI handles (HDC, HGDIOBJ, HBITMAP) kept opaque so that portable code can hold them.
using GdiHandle = void*;

// The orientation setting; after a load a record holds Normal, RotateLeft or RotateRight.
enum DisplayOrientation : std::uint8_t {
    kNormal = 0,
    kAutoLeft = 1,
    kAutoRight = 2,
    kRotateLeft = 3,
    kRotateRight = 4,
};

// Bytes per pixel row: 3 bytes a pixel, padded to a multiple of 4. 64-bit so that absurd
// widths cannot wrap.
std::uint64_t RowStride(std::int64_t width);

struct DeviceBitmap {
    GdiHandle memoryDC = nullptr;
    GdiHandle previousObject = nullptr;
    BitmapInfo info{};
    GdiHandle bitmap = nullptr;
    std::uint8_t* bits = nullptr;
    std::uint8_t orientation = kNormal;
    std::uint8_t fadeIncrement = 2;  // tenths added per BlendStep
    std::uint8_t fadeStep = 0;       // blend progress in tenths

    DeviceBitmap() = default;
    ~DeviceBitmap() { Release(); }
    DeviceBitmap(const DeviceBitmap&) = delete;
    DeviceBitmap& operator=(const DeviceBitmap&) = delete;

    // Forgets everything without freeing: the state of a fresh record.
    void Reset();
    // Frees what the record holds, then makes a width x height bitmap (pixels not cleared).
    // On failure the header reads all zero and no bitmap is held.
    bool Create(std::int32_t width, std::int32_t height);
    // Frees the bitmap and the memory DC. The fields are cleared too, so a Release followed
    // by Create, another Release or destruction never frees anything twice.
    void Release();
    // The memory DC with the bitmap selected, made on first use; none without a bitmap.
    GdiHandle GetMemoryDC();
    // Takes the bitmap out of its memory DC (deleting the DC) and returns the bitmap.
    GdiHandle DetachMemoryDC();

    std::int32_t Width() const { return info.bmiHeader.biWidth; }
    std::int32_t Height() const { return info.bmiHeader.biHeight; }
    std::size_t Stride() const { return static_cast<std::size_t>(RowStride(Width())); }
    // Picture row `row` counted from the top (rows are stored bottom-up).
    std::uint8_t* RowFromTop(std::int32_t row) {
        return bits + static_cast<std::size_t>(Height() - 1 - row) * Stride();
    }
    const std::uint8_t* RowFromTop(std::int32_t row) const {
        return bits + static_cast<std::size_t>(Height() - 1 - row) * Stride();
    }

  private:
    void FreeHeld();
};

}  // namespace glimmora::device

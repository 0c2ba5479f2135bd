// The Win32 build's DeviceBitmap is a real DIB section: GDI must see the same layout.
#include <windows.h>

#include <gtest/gtest.h>

#include "device/pictures/device_bitmap.h"

namespace glimmora::device {
namespace {

TEST(DeviceBitmapWinTest, GdiSeesABottomUp24BitSectionWithTheSameStride) {
    DeviceBitmap b;
    ASSERT_TRUE(b.Create(5, 3));
    DIBSECTION section{};
    ASSERT_EQ(::GetObjectW(static_cast<HBITMAP>(b.bitmap), sizeof section, &section),
              static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidth, 5);
    EXPECT_EQ(section.dsBm.bmHeight, 3);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
    EXPECT_EQ(section.dsBm.bmWidthBytes, 16);
    EXPECT_EQ(section.dsBm.bmBits, b.bits);
    EXPECT_GT(section.dsBmih.biHeight, 0);
}

TEST(DeviceBitmapWinTest, MemoryDcHoldsTheBitmapAndPixelsAreWhereGdiReadsThem) {
    DeviceBitmap b;
    ASSERT_TRUE(b.Create(4, 2));
    std::uint8_t* top = b.RowFromTop(0);
    top[0] = 0x10;  // blue
    top[1] = 0x20;  // green
    top[2] = 0x30;  // red
    HDC dc = static_cast<HDC>(b.GetMemoryDC());
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), static_cast<HGDIOBJ>(b.bitmap));
    ::GdiFlush();
    EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(b.DetachMemoryDC(), b.bitmap);
    EXPECT_EQ(b.memoryDC, nullptr);
}

}  // namespace
}  // namespace glimmora::device

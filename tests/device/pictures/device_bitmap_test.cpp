#include "device/pictures/device_bitmap.h"

#include <gtest/gtest.h>

#include "device/pictures/gdi_platform.h"

namespace glimmora::device {
namespace {

TEST(DeviceBitmapTest, CreateFillsABottomUp24BitHeaderWithPaddedRows) {
    struct Case {
        int width;
        std::uint32_t stride;
    };
    for (const Case c : {Case{1, 4}, Case{4, 12}, Case{5, 16}, Case{240, 720}, Case{3, 12}}) {
        DeviceBitmap b;
        ASSERT_TRUE(b.Create(c.width, 7)) << c.width;
        const BitmapInfoHeader& h = b.info.bmiHeader;
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, c.width);
        EXPECT_EQ(h.biHeight, 7);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, 24);
        EXPECT_EQ(h.biCompression, 0u);
        EXPECT_EQ(h.biSizeImage, c.stride * 7) << c.width;
        EXPECT_EQ(h.biXPelsPerMeter, 0);
        EXPECT_EQ(h.biClrUsed, 0u);
        EXPECT_EQ(b.Stride(), c.stride);
        EXPECT_EQ(RowStride(c.width), c.stride);
        // Picture row 0 is the last row in memory.
        EXPECT_EQ(b.RowFromTop(0), b.bits + 6 * c.stride);
        EXPECT_EQ(b.RowFromTop(6), b.bits);
        b.RowFromTop(0)[3 * c.width - 1] = 0xAB;  // the last byte of a row is writable
    }
}

TEST(DeviceBitmapTest, CreateFailureLeavesAZeroHeaderAndNoBitmap) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 5}, std::pair{4, -4},
                        std::pair{65500 * 3, 65500}}) {
        DeviceBitmap b;
        ASSERT_TRUE(b.Create(2, 2));
        EXPECT_FALSE(b.Create(w, h)) << w << "x" << h;
        EXPECT_EQ(b.bitmap, nullptr);
        EXPECT_EQ(b.bits, nullptr);
        EXPECT_EQ(b.Width(), 0);
        EXPECT_EQ(b.Height(), 0);
        EXPECT_EQ(b.info.bmiHeader.biSizeImage, 0u);
        EXPECT_EQ(b.info.bmiHeader.biSize, 0u);
    }
}

TEST(DeviceBitmapTest, MemoryDcIsMadeOnceAndDetachingReturnsTheBitmap) {
    const int before = gdi::LiveObjects();
    {
        DeviceBitmap b;
        EXPECT_EQ(b.GetMemoryDC(), nullptr);  // no bitmap, no DC
        ASSERT_TRUE(b.Create(4, 4));
        GdiHandle dc = b.GetMemoryDC();
        ASSERT_NE(dc, nullptr);
        EXPECT_NE(b.previousObject, nullptr);
        EXPECT_EQ(b.GetMemoryDC(), dc);
        EXPECT_EQ(b.DetachMemoryDC(), b.bitmap);
        EXPECT_EQ(b.memoryDC, nullptr);
        EXPECT_EQ(b.previousObject, nullptr);
        EXPECT_EQ(gdi::LiveObjects(), before + 1);  // the bitmap only
        ASSERT_NE(b.GetMemoryDC(), nullptr);
        // Create drops the old bitmap and its DC.
        ASSERT_TRUE(b.Create(8, 2));
        EXPECT_EQ(b.memoryDC, nullptr);
        EXPECT_EQ(gdi::LiveObjects(), before + 1);
    }
    EXPECT_EQ(gdi::LiveObjects(), before);
}

TEST(DeviceBitmapTest, ReleaseCanBeFollowedByCreateOrAnotherReleaseWithoutDoubleFree) {
    const int before = gdi::LiveObjects();
    DeviceBitmap b;
    ASSERT_TRUE(b.Create(4, 4));
    ASSERT_NE(b.GetMemoryDC(), nullptr);
    b.Release();
    EXPECT_EQ(gdi::LiveObjects(), before);
    b.Release();
    EXPECT_EQ(gdi::LiveObjects(), before);
    ASSERT_TRUE(b.Create(2, 2));
    EXPECT_EQ(gdi::LiveObjects(), before + 1);
    b.Release();
    EXPECT_EQ(gdi::LiveObjects(), before);
}

}  // namespace
}  // namespace glimmora::device

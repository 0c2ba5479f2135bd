#include "device/pictures/bitmap_ops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "device/pictures/gdi_platform.h"

namespace glimmora::device {
namespace {

void FillPattern(DeviceBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            for (int c = 0; c < 3; ++c)
                b.RowFromTop(y)[3 * x + c] = static_cast<std::uint8_t>(x * 31 + y * 7 + c * 90);
}

void FillUniform(DeviceBitmap& b, std::uint8_t value) {
    for (int y = 0; y < b.Height(); ++y) std::memset(b.RowFromTop(y), value, 3 * b.Width());
}

std::vector<std::uint8_t> Pixels(const DeviceBitmap& b) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < b.Height(); ++y)
        out.insert(out.end(), b.RowFromTop(y), b.RowFromTop(y) + 3 * b.Width());
    return out;
}

TEST(BitmapOpsTest, TurnLeftPutsTheTopRightCornerTopLeftAndTurnRightRestores) {
    const int before = gdi::LiveObjects();
    {
        DeviceBitmap b;
        ASSERT_TRUE(b.Create(5, 3));
        FillPattern(b);
        b.orientation = kRotateLeft;
        b.fadeIncrement = 6;
        b.fadeStep = 4;
        ASSERT_NE(b.GetMemoryDC(), nullptr);
        const std::vector<std::uint8_t> original = Pixels(b);
        std::uint8_t topRight[3];
        std::memcpy(topRight, b.RowFromTop(0) + 3 * 4, 3);

        TurnLeft(b);
        ASSERT_EQ(b.Width(), 3);
        ASSERT_EQ(b.Height(), 5);
        EXPECT_EQ(b.info.bmiHeader.biSizeImage, 12u * 5);
        EXPECT_EQ(b.memoryDC, nullptr);
        EXPECT_EQ(0, std::memcmp(b.RowFromTop(0), topRight, 3));
        EXPECT_EQ(b.orientation, kRotateLeft);
        EXPECT_EQ(b.fadeIncrement, 6);
        EXPECT_EQ(b.fadeStep, 4);

        TurnRight(b);
        ASSERT_EQ(b.Width(), 5);
        ASSERT_EQ(b.Height(), 3);
        EXPECT_EQ(Pixels(b), original);

        // Clockwise: the top-left corner goes to the top-right.
        const std::uint8_t topLeft[3] = {b.RowFromTop(0)[0], b.RowFromTop(0)[1],
                                         b.RowFromTop(0)[2]};
        TurnRight(b);
        EXPECT_EQ(0, std::memcmp(b.RowFromTop(0) + 3 * 2, topLeft, 3));
        TurnLeft(b);
        EXPECT_EQ(Pixels(b), original);
    }
    EXPECT_EQ(gdi::LiveObjects(), before);
}

TEST(BitmapOpsTest, CrossFadeBlendsFourTimesThenStops) {
    DeviceBitmap d;
    DeviceBitmap s;
    ASSERT_TRUE(d.Create(4, 4));
    ASSERT_TRUE(s.Create(4, 4));
    FillUniform(d, 100);
    FillUniform(s, 200);
    // Each step is applied to the already blended picture: 2, 4, 6, 8 tenths.
    const std::uint8_t expected[] = {120, 152, 180, 196};
    for (std::uint8_t value : expected) {
        ASSERT_TRUE(BlendStep(d, s));
        EXPECT_EQ(d.RowFromTop(2)[5], value);
    }
    EXPECT_FALSE(BlendStep(d, s));
    EXPECT_EQ(d.RowFromTop(2)[5], 196);  // untouched by the final call
    EXPECT_EQ(d.fadeStep, 10);
}

TEST(BitmapOpsTest, SmallerSourceIsCentredWithABlackBorder) {
    DeviceBitmap d;
    DeviceBitmap s;
    ASSERT_TRUE(d.Create(6, 5));
    ASSERT_TRUE(s.Create(2, 1));
    FillUniform(d, 200);
    FillUniform(s, 100);
    d.fadeIncrement = 6;  // the calendar overlay's single step
    ASSERT_TRUE(BlendStep(d, s));
    // Offsets (2-6)/2 = -2 and (1-5)/2 = -2: the source covers columns 2..3 of row 2.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = y == 2 && (x == 2 || x == 3);
            const int value = inside ? (4 * 200 + 6 * 100) / 10 : (4 * 200) / 10;
            EXPECT_EQ(d.RowFromTop(y)[3 * x + 1], value) << x << "," << y;
        }
    EXPECT_FALSE(BlendStep(d, s));
}

TEST(BitmapOpsTest, LargerSourceIsCentredOnTheDestination) {
    DeviceBitmap d;
    DeviceBitmap s;
    ASSERT_TRUE(d.Create(2, 2));
    ASSERT_TRUE(s.Create(6, 4));
    FillUniform(d, 0);
    FillPattern(s);
    d.fadeIncrement = 4;
    ASSERT_TRUE(BlendStep(d, s));
    // Offsets (6-2)/2 = 2 and (4-2)/2 = 1.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(d.RowFromTop(y)[3 * x + c],
                          s.RowFromTop(y + 1)[3 * (x + 2) + c] * 4 / 10);
}

}  // namespace
}  // namespace glimmora::device

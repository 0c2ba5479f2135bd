#include "device/pictures/picture_readers.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "tests/support/test_jpeg.h"
#include "tests/device/pictures/reference_filter.h"

namespace glimmora::device {
namespace {

using test::CheckeredGradient;
using test::Picture;
using testing::BitmapPixel;
using testing::ReferenceShrink;

// Hands out the rows of a picture in memory; can be told to stop delivering early.
class PictureSource : public ScanlineSource {
  public:
    explicit PictureSource(const Picture& p, int failAtRow = -1) : p_(p), failAt_(failAtRow) {}
    std::int32_t Width() const override { return p_.width; }
    std::int32_t Height() const override { return p_.height; }
    int Components() const override { return p_.components; }
    std::int32_t RowsRead() const override { return rows_; }
    const std::uint8_t* NextRow(std::uint8_t*) override {
        if (rows_ == failAt_) return nullptr;
        return p_.Pixel(0, rows_++);
    }

  private:
    const Picture& p_;
    int failAt_;
    int rows_ = 0;
};

Picture Uniform(int width, int height, int components, std::uint8_t value) {
    Picture p;
    p.width = width;
    p.height = height;
    p.components = components;
    p.pixels.assign(static_cast<std::size_t>(width) * height * components, value);
    return p;
}

void ExpectBitmapEquals(const DeviceBitmap& b, const Picture& expected) {
    ASSERT_EQ(b.Width(), expected.width);
    ASSERT_EQ(b.Height(), expected.height);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(BitmapPixel(b, x, y)[c], expected.Pixel(x, y)[c])
                    << "pixel " << x << "," << y << " byte " << c;
}

TEST(PictureReadersTest, UniformPicturesStayExactlyUniform) {
    for (auto [pw, ph, tw, th] :
         {std::array{64, 48, 32, 24}, std::array{90, 60, 60, 40}, std::array{97, 71, 26, 19},
          std::array{2000, 30, 7, 3}, std::array{333, 333, 1, 1}}) {
        for (std::uint8_t value : {std::uint8_t{255}, std::uint8_t{0}, std::uint8_t{137}}) {
            const Picture p = Uniform(pw, ph, 3, value);
            PictureSource source(p);
            DeviceBitmap b;
            ASSERT_TRUE(ReadScaled(source, b, tw, th));
            ExpectBitmapEquals(b, Uniform(tw, th, 3, value));
        }
    }
}

TEST(PictureReadersTest, StreamingFilterMatchesTheWholePictureFilter) {
    for (auto [pw, ph, tw, th] :
         {std::array{64, 48, 32, 24}, std::array{45, 30, 30, 20}, std::array{101, 67, 23, 40},
          std::array{37, 300, 12, 3}, std::array{640, 9, 5, 1}, std::array{300, 250, 24, 20},
          std::array{60, 130, 20, 26}, std::array{50, 403, 7, 50}}) {
        const Picture p = CheckeredGradient(pw, ph, 3, 5);
        PictureSource source(p);
        DeviceBitmap b;
        ASSERT_TRUE(ReadScaled(source, b, tw, th));
        ExpectBitmapEquals(b, ReferenceShrink(p, tw, th));
    }
}

TEST(PictureReadersTest, HalvingUsesQuarterHalfQuarterWeights) {
    // One row of four pixels 0, 40, 80, 120 halved to two: (40*25 + 0*50 + 40*25) / 100 = 20
    // and (40*25 + 80*50 + 120*25) / 100 = 80; the two rows are equal, so rows change nothing.
    Picture p = Uniform(4, 2, 1, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) p.pixels[y * 4 + x] = static_cast<std::uint8_t>(40 * x);
    PictureSource source(p);
    DeviceBitmap b;
    ASSERT_TRUE(ReadScaled(source, b, 2, 1));
    EXPECT_EQ(BitmapPixel(b, 0, 0)[0], 20);
    EXPECT_EQ(BitmapPixel(b, 1, 0)[0], 80);
}

TEST(PictureReadersTest, GreyAndFourComponentPicturesBecomeEqualBytes) {
    for (int components : {1, 4}) {
        const Picture p = CheckeredGradient(50, 40, components, 3);
        {
            PictureSource source(p);
            DeviceBitmap b;
            ASSERT_TRUE(CopyPicture(source, b, kNormal));
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 50; ++x) {
                    const std::uint8_t* px = BitmapPixel(b, x, y);
                    ASSERT_EQ(px[0], p.Pixel(x, y)[0]) << components << ": " << x << "," << y;
                    ASSERT_EQ(px[1], px[0]);
                    ASSERT_EQ(px[2], px[0]);
                }
        }
        PictureSource source(p);
        DeviceBitmap b;
        ASSERT_TRUE(ReadScaled(source, b, 20, 16));
        ExpectBitmapEquals(b, ReferenceShrink(p, 20, 16));
    }
}

TEST(PictureReadersTest, TurnedCopyPutsTheCornersWhereTheyBelong) {
    const Picture p = CheckeredGradient(7, 4, 3, 9);
    {
        PictureSource source(p);
        DeviceBitmap b;
        ASSERT_TRUE(CopyPicture(source, b, kRotateLeft));
        ASSERT_EQ(b.Width(), 4);
        ASSERT_EQ(b.Height(), 7);
        // Counter-clockwise: the picture's top-right pixel is the bitmap's top-left.
        EXPECT_EQ(0, std::memcmp(BitmapPixel(b, 0, 0), p.Pixel(6, 0), 3));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(0, std::memcmp(BitmapPixel(b, y, 6 - x), p.Pixel(x, y), 3));
    }
    PictureSource source(p);
    DeviceBitmap b;
    ASSERT_TRUE(CopyPicture(source, b, kRotateRight));
    // Clockwise: the picture's top-left pixel is the bitmap's top-right.
    EXPECT_EQ(0, std::memcmp(BitmapPixel(b, 3, 0), p.Pixel(0, 0), 3));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(0, std::memcmp(BitmapPixel(b, 3 - y, x), p.Pixel(x, y), 3));
}

TEST(PictureReadersTest, TurnedFilterIsTheUprightResultTurned) {
    const Picture p = CheckeredGradient(90, 61, 3, 2);
    const Picture upright = ReferenceShrink(p, 36, 24);
    for (bool left : {true, false}) {
        PictureSource source(p);
        DeviceBitmap b;
        ASSERT_TRUE(ReadScaledTurned(source, b, 36, 24, left));
        ASSERT_EQ(b.Width(), 24);
        ASSERT_EQ(b.Height(), 36);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 36; ++x) {
                const std::uint8_t* px =
                    left ? BitmapPixel(b, y, 35 - x) : BitmapPixel(b, 23 - y, x);
                ASSERT_EQ(0, std::memcmp(px, upright.Pixel(x, y), 3))
                    << left << " " << x << "," << y;
            }
    }
}

TEST(PictureReadersTest, FillBitmapCopiesPicturesThatFitAndNeverEnlarges) {
    const Picture p = CheckeredGradient(30, 20, 3, 4);
    PictureSource source(p);
    DeviceBitmap b;
    ASSERT_TRUE(FillBitmap(source, b, kNormal, TargetSize{30, 20}));
    Picture same = p;
    ExpectBitmapEquals(b, same);

    PictureSource larger(p);
    ASSERT_TRUE(FillBitmap(larger, b, kRotateRight, TargetSize{60, 40}));
    EXPECT_EQ(b.Width(), 20);
    EXPECT_EQ(b.Height(), 30);
}

TEST(PictureReadersTest, MissingRowsOrAnEmptyTargetFail) {
    const Picture p = CheckeredGradient(40, 30, 3, 1);
    for (int failAt : {0, 17, 29}) {
        PictureSource scaled(p, failAt);
        DeviceBitmap b;
        EXPECT_FALSE(ReadScaled(scaled, b, 20, 15));
        PictureSource copied(p, failAt);
        EXPECT_FALSE(CopyPicture(copied, b, kRotateLeft));
    }
    PictureSource source(p);
    DeviceBitmap b;
    EXPECT_FALSE(FillBitmap(source, b, kNormal, TargetSize{320, 0}));
    EXPECT_EQ(b.bitmap, nullptr);
}

}  // namespace
}  // namespace glimmora::device

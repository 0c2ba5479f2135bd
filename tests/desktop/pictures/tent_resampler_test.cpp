#include "desktop/pictures/tent_resampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <new>
#include <stdexcept>

#include "desktop/pictures/tap_list.h"
#include "tests/desktop/pictures/reference_filter.h"

namespace glimmora::desktop {
namespace {

Bitmap24 Resample(int w, int h, int components, int outW, int outH,
                  const std::vector<std::uint8_t>& pixels) {
    TentResampler resampler(w, h, components, outW, outH);
    for (int y = 0; y < h; ++y) {
        resampler.PushRow(pixels.data() + static_cast<std::size_t>(y) * w * components);
    }
    EXPECT_TRUE(resampler.Complete());
    return resampler.TakeBitmap();
}

std::vector<std::uint8_t> Noise(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> v(n);
    for (auto& b : v) b = static_cast<std::uint8_t>(random());
    return v;
}

TEST(TentResampler, WidthOnlyReductionUsesSingleTapRows) {
    // 3 x 1 grey to 2 x 1: x0 = 56*100 + 44*200, x1 = 44*200 + 56*50, each *100 / 10000.
    const Bitmap24 out = Resample(3, 1, 1, 2, 1, {100, 200, 50});
    ASSERT_EQ(out.width, 2);
    ASSERT_EQ(out.height, 1);
    const std::uint8_t* row = out.Row(0);
    EXPECT_EQ(row[0], 144);
    EXPECT_EQ(row[1], 144);
    EXPECT_EQ(row[2], 144);  // grey written three times
    EXPECT_EQ(row[3], 116);
    EXPECT_EQ(row[5], 116);
}

TEST(TentResampler, FourByFourToTwoByTwoByHand) {
    // Columns and rows both use (25, 50, 25) over sources (1, 0, 1) and (1, 2, 3).
    const std::vector<std::uint8_t> grey{0,   40,  80,  120,  //
                                         40,  80,  120, 160,  //
                                         80,  120, 160, 200,  //
                                         120, 160, 200, 240};
    const Bitmap24 out = Resample(4, 4, 1, 2, 2, grey);
    // After the columns (in hundredths): rows 20|80, 60|120, 100|160, 140|200.
    // (0,0) = (25*60 + 50*20 + 25*60) / 100 = 40;   (1,0) = (25*120 + 50*80 + 25*120) / 100 = 100
    // (0,1) = (25*60 + 50*100 + 25*140) / 100 = 100; (1,1) = (25*120 + 50*160 + 25*200) / 100 = 160
    EXPECT_EQ(out.Row(0)[0], 40);
    EXPECT_EQ(out.Row(0)[3], 100);
    EXPECT_EQ(out.Row(1)[0], 100);
    EXPECT_EQ(out.Row(1)[3], 160);
}

TEST(TentResampler, ConstantPicturesStayConstant) {
    for (auto [w, h, ow, oh] :
         {std::array{640, 480, 426, 320}, std::array{50, 7, 13, 7}, std::array{9, 200, 1, 17}}) {
        std::vector<std::uint8_t> pixels;
        for (int i = 0; i < w * h; ++i) pixels.insert(pixels.end(), {12, 200, 255});
        const Bitmap24 out = Resample(w, h, 3, ow, oh, pixels);
        for (int y = 0; y < oh; ++y)
            for (int x = 0; x < ow; ++x) {
                ASSERT_EQ(out.Row(y)[3 * x], 12);
                ASSERT_EQ(out.Row(y)[3 * x + 1], 200);
                ASSERT_EQ(out.Row(y)[3 * x + 2], 255);
            }
    }
}

TEST(TentResampler, StreamingMatchesTheWholePictureFilter) {
    struct Case {
        int w, h, components, ow, oh;
    };
    for (const Case& c : {Case{97, 61, 3, 13, 7}, Case{61, 97, 1, 17, 40}, Case{30, 300, 3, 30, 11},
                          Case{300, 30, 3, 7, 30}, Case{5, 5, 3, 4, 4}, Case{1000, 3, 1, 1, 1}}) {
        const auto pixels =
            Noise(static_cast<std::size_t>(c.w) * c.h * c.components, c.w * 31u + c.h);
        const Bitmap24 got = Resample(c.w, c.h, c.components, c.ow, c.oh, pixels);
        const Bitmap24 want = ReferenceTentFilter(c.w, c.h, c.components, c.ow, c.oh, pixels);
        ASSERT_EQ(got.pixels, want.pixels) << c.w << "x" << c.h << " -> " << c.ow << "x" << c.oh;
    }
}

TEST(TentResampler, SameSizeCopiesRowsAndPadsThem) {
    const std::vector<std::uint8_t> grey{1, 2, 3, 4, 5, 6};
    const Bitmap24 out = Resample(3, 2, 1, 3, 2, grey);
    EXPECT_EQ(out.stride, 12u);
    EXPECT_EQ(std::vector<std::uint8_t>(out.Row(1), out.Row(1) + 9),
              (std::vector<std::uint8_t>{4, 4, 4, 5, 5, 5, 6, 6, 6}));
}

TEST(TentResampler, IncompleteUntilEveryRowArrivesAndExtraRowsAreIgnored) {
    const auto pixels = Noise(40 * 40 * 3, 7);
    TentResampler resampler(40, 40, 3, 10, 10);
    for (int y = 0; y < 39; ++y) resampler.PushRow(pixels.data() + y * 120);
    EXPECT_FALSE(resampler.Complete());
    resampler.PushRow(pixels.data() + 39 * 120);
    EXPECT_TRUE(resampler.Complete());
    resampler.PushRow(pixels.data());  // a decoder handing out more rows changes nothing
    EXPECT_EQ(resampler.TakeBitmap().pixels, ReferenceTentFilter(40, 40, 3, 10, 10, pixels).pixels);
}

TEST(TentResampler, RefusesSizesItCannotWorkWith) {
    EXPECT_THROW(TentResampler(10, 10, 3, 0, 5), std::invalid_argument);
    EXPECT_THROW(TentResampler(10, 10, 3, 11, 5), std::invalid_argument);
    EXPECT_THROW(TentResampler(10, 10, 4, 5, 5), std::invalid_argument);
    // The largest picture a header can announce, kept at full size: refused, not attempted.
    EXPECT_THROW(TentResampler(65500, 65500, 3, 65500, 65500), std::bad_alloc);
    EXPECT_EQ(Bitmap24Bytes(65500, 65500), 0u);
    EXPECT_EQ(Bitmap24Bytes(3, 2), 24u);  // rows of 9 bytes padded to 12
}

}  // namespace
}  // namespace glimmora::desktop

#include "desktop/pictures/jpeg_encode.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "tests/support/test_jpeg.h"

namespace glimmora::desktop {
namespace {

struct Marker {
    std::uint8_t code;
    std::vector<std::uint8_t> payload;
};

// The markers before the entropy-coded data.
std::vector<Marker> HeaderMarkers(const std::vector<std::uint8_t>& jpeg) {
    std::vector<Marker> markers;
    std::size_t i = 2;
    while (i + 4 <= jpeg.size() && jpeg[i] == 0xFF) {
        const std::uint8_t code = jpeg[i + 1];
        const std::size_t length = static_cast<std::size_t>(jpeg[i + 2]) << 8 | jpeg[i + 3];
        markers.push_back(
            {code, std::vector<std::uint8_t>(jpeg.begin() + i + 4, jpeg.begin() + i + 2 + length)});
        if (code == 0xDA) break;  // start of scan
        i += 2 + length;
    }
    return markers;
}

// Blue left half, red right half, a green band below: channel order mistakes show at once.
Bitmap24 ColourBlocks(int w, int h) {
    Bitmap24 b = MakeBitmap24(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = b.Row(y) + 3 * x;
            if (y >= h / 2)
                px[1] = 255;
            else if (x < w / 2)
                px[0] = 255;
            else
                px[2] = 255;
        }
    return b;
}

TEST(EncodeJpeg, IsBaselineJfifInThreeComponentsOfTheBitmapsSize) {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(ColourBlocks(42, 32));
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    const std::vector<Marker> markers = HeaderMarkers(jpeg);
    ASSERT_FALSE(markers.empty());
    EXPECT_EQ(markers[0].code, 0xE0);
    EXPECT_EQ(std::memcmp(markers[0].payload.data(), "JFIF\0", 5), 0);
    int sof0 = 0, otherSof = 0;
    for (const Marker& m : markers) {
        if (m.code == 0xC0) {
            ++sof0;
            ASSERT_GE(m.payload.size(), 6u);
            EXPECT_EQ(m.payload[0], 8);                       // precision
            EXPECT_EQ(m.payload[1] << 8 | m.payload[2], 32);  // height
            EXPECT_EQ(m.payload[3] << 8 | m.payload[4], 42);  // width
            EXPECT_EQ(m.payload[5], 3);                       // components
        } else if (m.code >= 0xC1 && m.code <= 0xCF && m.code != 0xC4 && m.code != 0xC8 &&
                   m.code != 0xCC) {
            ++otherSof;
        }
    }
    EXPECT_EQ(sof0, 1);
    EXPECT_EQ(otherSof, 0);
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
}

TEST(EncodeJpeg, UsesTheQuality90Tables) {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(ColourBlocks(16, 16));
    // The tables the library itself makes for quality 90, forced baseline.
    jpeg_compress_struct reference{};
    jpeg_error_mgr err{};
    reference.err = jpeg_std_error(&err);
    jpeg_create_compress(&reference);
    reference.in_color_space = JCS_RGB;
    reference.input_components = 3;
    jpeg_set_defaults(&reference);
    jpeg_set_quality(&reference, 90, TRUE);

    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr derr{};
    cinfo.err = jpeg_std_error(&derr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    ASSERT_EQ(jpeg_read_header(&cinfo, TRUE), JPEG_HEADER_OK);
    EXPECT_FALSE(cinfo.progressive_mode);
    EXPECT_EQ(cinfo.jpeg_color_space, JCS_YCbCr);
    for (int t = 0; t < 2; ++t) {
        ASSERT_NE(cinfo.quant_tbl_ptrs[t], nullptr);
        for (int k = 0; k < DCTSIZE2; ++k) {
            ASSERT_EQ(cinfo.quant_tbl_ptrs[t]->quantval[k],
                      reference.quant_tbl_ptrs[t]->quantval[k]);
        }
    }
    EXPECT_EQ(cinfo.quant_tbl_ptrs[0]->quantval[0], 3);  // 16 scaled to 20 %
    jpeg_destroy_decompress(&cinfo);
    jpeg_destroy_compress(&reference);
}

TEST(EncodeJpeg, KeepsBlueGreenRedWhereTheyWere) {
    const Bitmap24 bitmap = ColourBlocks(64, 64);
    const test::Picture decoded = test::DecodeJpeg(EncodeJpeg(bitmap), test::kRgb);
    ASSERT_EQ(decoded.components, 3);
    auto rgbAt = [&](int x, int y) {
        return decoded.pixels.data() + (static_cast<std::size_t>(y) * 64 + x) * 3;
    };
    const std::uint8_t* blue = rgbAt(8, 8);
    EXPECT_LT(blue[0], 20);
    EXPECT_GT(blue[2], 235);
    const std::uint8_t* red = rgbAt(56, 8);
    EXPECT_GT(red[0], 235);
    EXPECT_LT(red[2], 20);
    const std::uint8_t* green = rgbAt(32, 56);
    EXPECT_GT(green[1], 235);
    EXPECT_LT(green[0], 20);
}

TEST(EncodeJpeg, LargerPicturesGrowTheBufferIntact) {
    // Enough noise to need more than the first output buffer.
    Bitmap24 bitmap = MakeBitmap24(600, 400);
    unsigned v = 1;
    for (auto& b : bitmap.pixels)
        b = static_cast<std::uint8_t>((v = v * 1103515245u + 12345u) >> 24);
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(bitmap);
    ASSERT_GT(jpeg.size(), 64u * 1024u);
    const test::Picture decoded = test::DecodeJpeg(jpeg, test::kRgb);
    EXPECT_EQ(decoded.width, 600);
    EXPECT_EQ(decoded.height, 400);
}

TEST(EncodeJpeg, EmptyOrInconsistentBitmapGivesNothing) {
    EXPECT_TRUE(EncodeJpeg(Bitmap24{}).empty());
    Bitmap24 broken = MakeBitmap24(10, 10);
    broken.pixels.resize(20);
    EXPECT_TRUE(EncodeJpeg(broken).empty());
}

}  // namespace
}  // namespace glimmora::desktop

#include "desktop/pictures/picture_fit.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/desktop/pictures/reference_filter.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_jpeg.h"

namespace glimmora::desktop {
namespace {

using test::Picture;

std::pair<int, int> Fit(int w, int h, int sw, int sh) {
    const PictureSize s = FitSize(w, h, sw, sh);
    return {s.width, s.height};
}

TEST(FitSize, PortraitScreenLimitsOnlyTheHeight) {
    EXPECT_EQ(Fit(3000, 2000, 240, 320), std::make_pair(480, 320));
    EXPECT_EQ(Fit(2000, 3000, 240, 320), std::make_pair(213, 320));
    EXPECT_EQ(Fit(1600, 1200, 240, 320), std::make_pair(426, 320));
    EXPECT_EQ(Fit(1200, 1600, 240, 320), std::make_pair(240, 320));
    EXPECT_EQ(Fit(640, 480, 240, 320), std::make_pair(426, 320));
    EXPECT_EQ(Fit(300, 200, 240, 320), std::make_pair(300, 200));
}

TEST(FitSize, LandscapeScreenLimitsOnlyTheWidth) {
    EXPECT_EQ(Fit(3000, 2000, 320, 240), std::make_pair(320, 213));
    EXPECT_EQ(Fit(2000, 3000, 320, 240), std::make_pair(320, 480));
    EXPECT_EQ(Fit(300, 2000, 320, 240), std::make_pair(300, 2000));
}

TEST(FitSize, SquareScreenCountsAsPortraitAndZeroSidesMeanNoReduction) {
    EXPECT_EQ(Fit(1000, 500, 200, 200), std::make_pair(400, 200));
    EXPECT_EQ(Fit(3000, 2000, 0, 320), std::make_pair(3000, 2000));
    EXPECT_EQ(Fit(3000, 2000, 240, 0), std::make_pair(3000, 2000));
    EXPECT_EQ(Fit(3000, 2000, -1, 320), std::make_pair(3000, 2000));
    EXPECT_EQ(Fit(5000, 10, 320, 240), std::make_pair(320, 0));
}

// The decoded picture in bitmap byte order (blue, green, red).
std::vector<std::uint8_t> AsBgr(const Picture& p) {
    std::vector<std::uint8_t> out = p.pixels;
    if (p.components == 3)
        for (std::size_t i = 0; i + 2 < out.size(); i += 3) std::swap(out[i], out[i + 2]);
    return out;
}

class FitPictureTest : public ::testing::Test {
  protected:
    std::string Save(const std::string& name, const Picture& picture) {
        const std::string path = folder_.File(name);
        bytes_ = test::EncodeJpeg(picture, test::kRgb);
        test::WriteFileBytes(path, bytes_);
        return path;
    }
    test::TempFolder folder_;
    std::vector<std::uint8_t> bytes_;
};

TEST_F(FitPictureTest, ColourPictureIsTheTentFilterOfItsDecodedPixels) {
    const std::string path = Save("colour.jpg", test::NoisyGradient(64, 48, 3, 1));
    const Picture decoded = test::DecodeJpeg(bytes_, test::kRgb);
    FitReport report;
    report.decodeWarned = true;
    const std::optional<Bitmap24> bitmap = FitPicture(path, 24, 32, &report);
    ASSERT_TRUE(bitmap);
    EXPECT_FALSE(report.decodeWarned);
    EXPECT_EQ(report.reason, "");
    EXPECT_EQ(bitmap->width, 42);  // trunc(32 / 48 * 64)
    EXPECT_EQ(bitmap->height, 32);
    EXPECT_EQ(report.source.width, 64);
    EXPECT_EQ(report.source.height, 48);
    EXPECT_EQ(bitmap->pixels, ReferenceTentFilter(64, 48, 3, 42, 32, AsBgr(decoded)).pixels);
}

TEST_F(FitPictureTest, GreyPictureHasEqualBlueGreenRed) {
    const std::string path = Save("grey.jpg", test::NoisyGradient(50, 90, 1, 2));
    const Picture decoded = test::DecodeJpeg(bytes_, test::kRgb);
    const std::optional<Bitmap24> bitmap = FitPicture(path, 320, 240);
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->width, 50);  // landscape screen, narrow picture: not reduced
    ASSERT_EQ(bitmap->height, 90);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 50; ++x) {
            const std::uint8_t v = decoded.pixels[static_cast<std::size_t>(y) * 50 + x];
            ASSERT_EQ(bitmap->Row(y)[3 * x], v);
            ASSERT_EQ(bitmap->Row(y)[3 * x + 1], v);
            ASSERT_EQ(bitmap->Row(y)[3 * x + 2], v);
        }
    const std::optional<Bitmap24> reduced = FitPicture(path, 24, 32);
    ASSERT_TRUE(reduced);
    EXPECT_EQ(
        reduced->pixels,
        ReferenceTentFilter(50, 90, 1, reduced->width, reduced->height, decoded.pixels).pixels);
}

TEST_F(FitPictureTest, SmallPictureRowsAreCopiedInBitmapOrder) {
    const std::string path = Save("small.jpg", test::NoisyGradient(30, 20, 3, 3));
    const std::vector<std::uint8_t> bgr = AsBgr(test::DecodeJpeg(bytes_, test::kRgb));
    const std::optional<Bitmap24> bitmap = FitPicture(path, 240, 320);
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->width, 30);
    ASSERT_EQ(bitmap->height, 20);
    for (int y = 0; y < 20; ++y) {
        ASSERT_EQ(std::vector<std::uint8_t>(bitmap->Row(y), bitmap->Row(y) + 90),
                  std::vector<std::uint8_t>(bgr.begin() + y * 90, bgr.begin() + (y + 1) * 90));
    }
}

TEST_F(FitPictureTest, NoScreenSizeMeansNoReduction) {
    const std::string path = Save("big.jpg", test::NoisyGradient(400, 300, 3, 4));
    const std::optional<Bitmap24> bitmap = FitPicture(path, 0, 320);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 400);
    EXPECT_EQ(bitmap->height, 300);
}

TEST_F(FitPictureTest, FilesThatAreNoPicturesGiveNothing) {
    test::WriteFileBytes(folder_.File("empty.jpg"), {});
    test::WriteFileBytes(folder_.File("text.jpg"), {'h', 'e', 'l', 'l', 'o', '\n'});
    FitReport report;
    EXPECT_FALSE(FitPicture(folder_.File("empty.jpg"), 240, 320, &report));
    EXPECT_TRUE(report.decodeWarned);
    EXPECT_FALSE(report.reason.empty());
    EXPECT_FALSE(FitPicture(folder_.File("text.jpg"), 240, 320, &report));
    EXPECT_NE(report.reason.find("JPEG"), std::string::npos) << report.reason;
    EXPECT_EQ(report.source.width, 0);  // no header, no size
    EXPECT_EQ(report.source.height, 0);
    EXPECT_FALSE(FitPicture(folder_.File("missing.jpg"), 240, 320, &report));
    EXPECT_EQ(report.reason, "cannot be opened");
}

TEST_F(FitPictureTest, PictureThatWouldReduceToNoRowsGivesNothing) {
    const std::string path = Save("strip.jpg", test::NoisyGradient(5000, 10, 3, 5));
    FitReport report;
    EXPECT_FALSE(FitPicture(path, 320, 240, &report));
    EXPECT_EQ(report.reason, "reduces to no rows or columns for that screen");
    EXPECT_EQ(report.source.width, 5000);  // known from the header although nothing came of it
    EXPECT_EQ(report.source.height, 10);
    EXPECT_TRUE(FitPicture(path, 0, 0));  // unreduced it is an ordinary picture
}

TEST_F(FitPictureTest, HeaderAnnouncingAHugePictureIsRefusedUpFront) {
    Save("small.jpg", test::NoisyGradient(16, 16, 3, 7));
    // Beyond the pixel limit: refused from the header, whatever the screen. Decoding its
    // filler rows would take seconds, and at a handheld's size it would fit in memory.
    test::WriteFileBytes(folder_.File("huge.jpg"), test::WithAnnouncedSize(bytes_, 65500, 65500));
    for (const auto& [w, h] : {std::pair{0, 0}, std::pair{240, 320}, std::pair{320, 240}}) {
        FitReport report;
        EXPECT_FALSE(FitPicture(folder_.File("huge.jpg"), w, h, &report));
        EXPECT_EQ(report.reason, "announces more than 500 million pixels") << w << " x " << h;
        EXPECT_FALSE(report.decodeWarned) << "no row may have been decoded";
    }
    // Under the limit the header passes; unreduced, its bitmap is too large to hold.
    test::WriteFileBytes(folder_.File("large.jpg"), test::WithAnnouncedSize(bytes_, 22000, 22000));
    FitReport report;
    EXPECT_FALSE(FitPicture(folder_.File("large.jpg"), 0, 0, &report));
    EXPECT_EQ(report.reason, "too large to hold in memory");
}

TEST_F(FitPictureTest, CutShortFileIsStillProducedButMarked) {
    Save("whole.jpg", test::NoisyGradient(200, 200, 3, 6));
    std::vector<std::uint8_t> cut(bytes_.begin(),
                                  bytes_.begin() + static_cast<long>(bytes_.size() * 2 / 3));
    test::WriteFileBytes(folder_.File("cut.jpg"), cut);
    FitReport report;
    const std::optional<Bitmap24> bitmap = FitPicture(folder_.File("cut.jpg"), 24, 32, &report);
    ASSERT_TRUE(bitmap);
    EXPECT_TRUE(report.decodeWarned);
    EXPECT_EQ(bitmap->height, 32);

    // Cut inside the header: nothing.
    std::vector<std::uint8_t> header(bytes_.begin(), bytes_.begin() + 100);
    test::WriteFileBytes(folder_.File("header.jpg"), header);
    EXPECT_FALSE(FitPicture(folder_.File("header.jpg"), 24, 32));
}

}  // namespace
}  // namespace glimmora::desktop

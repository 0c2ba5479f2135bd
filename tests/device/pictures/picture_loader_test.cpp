#include "device/pictures/picture_loader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "device/pictures/gdi_platform.h"
#include "device/pictures/jpeg_message.h"
#include "tests/support/test_jpeg.h"
#include "tests/device/pictures/reference_filter.h"

namespace glimmora::device {
namespace {

using test::CheckeredGradient;
using test::DecodeJpeg;
using test::EncodeJpeg;
using test::kBgr;
using test::Picture;
using testing::BitmapPixel;
using testing::ReferenceShrink;

std::vector<std::wstring> g_messages;
void RecordMessage(const wchar_t* text) { g_messages.emplace_back(text); }

class PictureLoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_messages.clear();
        previousHook_ = SetJpegMessageHook(&RecordMessage);
        liveBefore_ = gdi::LiveObjects();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base_ = std::string("loader_") + info->name();
    }
    void TearDown() override {
        SetJpegMessageHook(previousHook_);
        for (const std::string& path : files_) std::remove(path.c_str());
        EXPECT_EQ(gdi::LiveObjects(), liveBefore_) << "a bitmap or DC leaked";
    }

    // Writes bytes to a file of this test and returns its path.
    std::string Write(const std::vector<std::uint8_t>& bytes, const char* suffix = ".jpg") {
        const std::string path = base_ + "_" + std::to_string(files_.size()) + suffix;
        test::WriteFileBytes(path, bytes);
        files_.push_back(path);
        return path;
    }

    static bool Load(DeviceBitmap& b, const std::string& path, int w, int h, std::uint8_t o,
                     bool fit) {
        const std::wstring wide(path.begin(), path.end());
        return LoadPicture(b, wide.c_str(), w, h, o, fit);
    }

    static void ExpectEquals(const DeviceBitmap& b, const Picture& expected) {
        ASSERT_EQ(b.Width(), expected.width);
        ASSERT_EQ(b.Height(), expected.height);
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x)
                ASSERT_EQ(0, std::memcmp(BitmapPixel(b, x, y), expected.Pixel(x, y), 3))
                    << "pixel " << x << "," << y;
    }

    std::vector<std::string> files_;
    std::string base_;
    JpegMessageHook previousHook_ = nullptr;
    int liveBefore_ = 0;
};

TEST_F(PictureLoaderTest, SmallColourPictureIsCopiedAtItsOwnSizeInBlueGreenRedOrder) {
    Picture colour = CheckeredGradient(20, 10, 3, 7);
    // A pure red block, so a red/blue mix-up cannot hide in the pattern.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            std::uint8_t* px = colour.pixels.data() + (y * 20 + x) * 3;
            px[0] = 0;
            px[1] = 0;
            px[2] = 255;
        }
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(colour, kBgr);
    const Picture decoded = DecodeJpeg(jpeg, kBgr);
    DeviceBitmap b;
    ASSERT_TRUE(Load(b, Write(jpeg), 240, 320, kNormal, true));
    EXPECT_EQ(b.orientation, kNormal);
    ExpectEquals(b, decoded);
    const std::uint8_t* red = BitmapPixel(b, 3, 3);
    EXPECT_LT(red[0], 30);
    EXPECT_GT(red[2], 220);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(PictureLoaderTest, LargePictureIsShrunkWithTheTentFilter) {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(CheckeredGradient(160, 120, 3, 2), kBgr);
    const Picture decoded = DecodeJpeg(jpeg, kBgr);
    DeviceBitmap b;
    // Portrait screen 40 x 60: without Fit to Screen only the height limits (80 x 60).
    ASSERT_TRUE(Load(b, Write(jpeg), 40, 60, kNormal, false));
    ExpectEquals(b, ReferenceShrink(decoded, 80, 60));
    // With it the whole picture fits: 40 x 30.
    DeviceBitmap fitted;
    ASSERT_TRUE(Load(fitted, files_.back(), 40, 60, kNormal, true));
    ExpectEquals(fitted, ReferenceShrink(decoded, 40, 30));
}

TEST_F(PictureLoaderTest, AutoOrientationTurnsALandscapePictureOnAPortraitScreen) {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(CheckeredGradient(128, 96, 3, 4), kBgr);
    const Picture decoded = DecodeJpeg(jpeg, kBgr);
    const std::string path = Write(jpeg);
    const Picture shrunk = ReferenceShrink(decoded, 64, 48);
    for (std::uint8_t requested : {kAutoLeft, kAutoRight}) {
        DeviceBitmap b;
        ASSERT_TRUE(Load(b, path, 48, 64, requested, false));
        const bool left = requested == kAutoLeft;
        EXPECT_EQ(b.orientation, left ? kRotateLeft : kRotateRight);
        ASSERT_EQ(b.Width(), 48);
        ASSERT_EQ(b.Height(), 64);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                const std::uint8_t* px =
                    left ? BitmapPixel(b, y, 63 - x) : BitmapPixel(b, 47 - y, x);
                ASSERT_EQ(0, std::memcmp(px, shrunk.Pixel(x, y), 3)) << x << "," << y;
            }
    }
    // A value outside the settings is kept and the picture stays upright.
    DeviceBitmap odd;
    ASSERT_TRUE(Load(odd, path, 48, 64, 7, false));
    EXPECT_EQ(odd.orientation, 7);
    EXPECT_EQ(odd.Width(), 85);
    EXPECT_EQ(odd.Height(), 64);
}

TEST_F(PictureLoaderTest, GreyAndCmykPicturesComeOutGrey) {
    for (int components : {1, 4}) {
        const std::vector<std::uint8_t> jpeg =
            EncodeJpeg(CheckeredGradient(33, 21, components, 6), kBgr);
        const Picture decoded = DecodeJpeg(jpeg, kBgr);
        ASSERT_EQ(decoded.components, components);
        DeviceBitmap b;
        ASSERT_TRUE(Load(b, Write(jpeg), 240, 320, kNormal, false));
        ASSERT_EQ(b.Width(), 33);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 33; ++x) {
                const std::uint8_t* px = BitmapPixel(b, x, y);
                ASSERT_EQ(px[0], decoded.Pixel(x, y)[0]) << components << ": " << x << "," << y;
                ASSERT_EQ(px[1], px[0]);
                ASSERT_EQ(px[2], px[0]);
            }
        DeviceBitmap shrunk;
        ASSERT_TRUE(Load(shrunk, files_.back(), 10, 12, kRotateRight, true));
        EXPECT_EQ(shrunk.orientation, kRotateRight);
        EXPECT_EQ(shrunk.Width(), 7);  // 12 x 7 shrunk, shown turned
        EXPECT_EQ(shrunk.Height(), 12);
    }
}

TEST_F(PictureLoaderTest, UnreadableFilesFailWithoutAnyMessage) {
    DeviceBitmap b;
    EXPECT_FALSE(Load(b, "no_such_picture.jpg", 240, 320, kNormal, false));
    const std::string text = "This is a note, not a picture.\n";
    EXPECT_FALSE(Load(b, Write({text.begin(), text.end()}), 240, 320, kNormal, false));
    EXPECT_FALSE(Load(b, Write({}), 240, 320, kNormal, false));
    EXPECT_TRUE(g_messages.empty());
    // A start marker and nothing else: the library warns that the file ended early, then
    // finds no picture.
    const std::vector<std::uint8_t> soiOnly = {0xFF, 0xD8};
    EXPECT_FALSE(Load(b, Write(soiOnly), 240, 320, kNormal, false));
    EXPECT_LE(g_messages.size(), 1u);
    EXPECT_EQ(b.bitmap, nullptr);
}

TEST_F(PictureLoaderTest, TruncatedPictureWarnsOnceAndIsShownAsDecoded) {
    std::vector<std::uint8_t> jpeg = EncodeJpeg(CheckeredGradient(64, 64, 3, 1), kBgr);
    jpeg.resize(jpeg.size() * 2 / 3);
    DeviceBitmap b;
    ASSERT_TRUE(Load(b, Write(jpeg), 240, 320, kNormal, false));
    EXPECT_EQ(b.Width(), 64);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_NE(g_messages[0].find(L"Premature end of JPEG file"), std::wstring::npos);
}

TEST_F(PictureLoaderTest, PictureThatShrinksToNothingFails) {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(CheckeredGradient(1000, 1, 3, 1), kBgr);
    DeviceBitmap b;
    EXPECT_FALSE(Load(b, Write(jpeg), 320, 240, kNormal, false));
    EXPECT_EQ(b.bitmap, nullptr);
    EXPECT_TRUE(g_messages.empty());
}

// Offset of the SOF0 marker's height field in a file made by EncodeJpeg.
std::size_t FrameHeaderOffset(const std::vector<std::uint8_t>& jpeg) {
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i + 5;
    return 0;
}

void SetSize(std::vector<std::uint8_t>& jpeg, unsigned width, unsigned height) {
    const std::size_t at = FrameHeaderOffset(jpeg);
    jpeg[at] = static_cast<std::uint8_t>(height >> 8);
    jpeg[at + 1] = static_cast<std::uint8_t>(height);
    jpeg[at + 2] = static_cast<std::uint8_t>(width >> 8);
    jpeg[at + 3] = static_cast<std::uint8_t>(width);
}

TEST_F(PictureLoaderTest, AbsurdSizesInTheHeaderFailOrDecodeWithoutHarm) {
    const std::vector<std::uint8_t> original = EncodeJpeg(CheckeredGradient(16, 16, 3, 1), kBgr);
    ASSERT_NE(FrameHeaderOffset(original), 0u);
    DeviceBitmap b;
    {
        std::vector<std::uint8_t> jpeg = original;
        SetSize(jpeg, 0, 16);  // an empty image
        EXPECT_FALSE(Load(b, Write(jpeg), 240, 320, kNormal, false));
        SetSize(jpeg, 65535, 65535);  // beyond the format's limit
        EXPECT_FALSE(Load(b, Write(jpeg), 240, 320, kNormal, false));
    }
    {
        // Allowed by the format, but far too large to hold unshrunk on a square screen.
        std::vector<std::uint8_t> jpeg = original;
        SetSize(jpeg, 30000, 30000);
        EXPECT_FALSE(Load(b, Write(jpeg), 240, 240, kNormal, false));
    }
    {
        // Very wide, with hardly any data behind it: decoded (as filler) and shrunk.
        std::vector<std::uint8_t> jpeg = original;
        SetSize(jpeg, 20000, 400);
        DeviceBitmap wide;
        EXPECT_TRUE(Load(wide, Write(jpeg), 320, 240, kNormal, false));
        EXPECT_EQ(wide.Width(), 320);
        EXPECT_EQ(wide.Height(), 6);
    }
    EXPECT_LE(g_messages.size(), 4u);
}

TEST_F(PictureLoaderTest, HeaderBeyondTheLimitIsRefusedBeforeAnyRowIsDecoded) {
    std::vector<std::uint8_t> jpeg = EncodeJpeg(CheckeredGradient(16, 16, 3, 1), kBgr);
    SetSize(jpeg, 65500, 65500);
    const std::string path = Write(jpeg);
    // Decoding its filler rows would take seconds at every page, though the shrunken
    // bitmap would be small on every one of these screens.
    struct Case {
        int width, height;
        std::uint8_t orientation;
        bool fit;
    };
    for (const Case& c : {Case{240, 320, kNormal, false}, Case{320, 240, kAutoLeft, true},
                          Case{480, 640, kRotateRight, true}}) {
        DeviceBitmap b;
        LoadDiagnosis why;
        const std::wstring wide(path.begin(), path.end());
        EXPECT_FALSE(LoadPicture(b, wide.c_str(), c.width, c.height, c.orientation, c.fit, &why));
        EXPECT_EQ(why.failure, LoadFailure::kTooManyPixels) << c.width << " x " << c.height;
        EXPECT_EQ(why.pictureWidth, 65500);
        EXPECT_EQ(why.pictureHeight, 65500);
        EXPECT_EQ(b.bitmap, nullptr);
    }
    EXPECT_TRUE(g_messages.empty()) << "the decoder met no data, so it cannot have started";
}

TEST_F(PictureLoaderTest, DamagedBytesAnywhereNeverCrashAndWarnAtMostOncePerLoad) {
    const std::vector<std::uint8_t> original = EncodeJpeg(CheckeredGradient(24, 16, 3, 8), kBgr);
    // Every byte of the headers, and a sample of the entropy-coded data, set to values that
    // break markers, lengths and tables.
    for (std::size_t i = 0; i < original.size(); i += (i < 700 ? 1 : 37)) {
        for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0xD9}}) {
            std::vector<std::uint8_t> jpeg = original;
            if (jpeg[i] == value) continue;
            jpeg[i] = value;
            test::WriteFileBytes(base_ + ".jpg", jpeg);
            g_messages.clear();
            DeviceBitmap b;
            const bool ok = Load(b, base_ + ".jpg", 240, 320, kAutoRight, false);
            ASSERT_LE(g_messages.size(), 1u) << "byte " << i;
            if (ok) {
                ASSERT_NE(b.bitmap, nullptr);
            }
        }
    }
    files_.push_back(base_ + ".jpg");
}

}  // namespace
}  // namespace glimmora::device

// Pictures whose names are not plain ASCII: the handheld's folders are often localised.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "device/pictures/picture_loader.h"
#include "tests/support/test_jpeg.h"
#ifndef _WIN32
#include "device/pictures/utf8.h"
#endif

namespace glimmora::device {
namespace {

const wchar_t kName[] = L"Eigene Bilder \u00e4\u20ac.jpg";

#ifdef _WIN32
void WriteWide(const wchar_t* path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = ::_wfopen(path, L"wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
void RemoveWide(const wchar_t* path) { ::_wremove(path); }
#else
void WriteWide(const wchar_t* path, const std::vector<std::uint8_t>& bytes) {
    test::WriteFileBytes(WideToUtf8(path), bytes);
}
void RemoveWide(const wchar_t* path) { std::remove(WideToUtf8(path).c_str()); }

TEST(WidePathTest, HostFileNamesSurviveTheTripThroughWideText) {
    for (const std::string& name :
         {std::string("\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80.jpg"),
          std::string("raw\xff\xfe bytes.jpg"), std::string("cut \xe2\x82.jpg")}) {
        EXPECT_EQ(WideToUtf8(Utf8ToWide(name)), name);
    }
    EXPECT_EQ(Utf8ToWide("\xc3\xa4"), L"\u00e4");
}
#endif

TEST(WidePathTest, PictureWithANonAsciiNameLoads) {
    WriteWide(kName, test::EncodeJpeg(test::CheckeredGradient(12, 8, 3, 2), test::kBgr));
    DeviceBitmap bitmap;
    EXPECT_TRUE(LoadPicture(bitmap, kName, 240, 320, kNormal, false));
    EXPECT_EQ(bitmap.Width(), 12);
    RemoveWide(kName);
}

}  // namespace
}  // namespace glimmora::device

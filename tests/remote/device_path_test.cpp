#include <gtest/gtest.h>

#include "remote/protocol/device_path.h"
#include "remote/protocol/link_numbers.h"

namespace glimmora::remote {
namespace {

std::u16string Map(const std::u16string& p, uint32_t* e = nullptr) {
    std::u16string out;
    uint32_t r = MapDevicePath(u"C:\\hh\\", p, &out);
    if (e) *e = r;
    return r == 0 ? out : u"<error>";
}

TEST(DevicePath, HandheldPathsLandUnderTheRoot) {
    EXPECT_EQ(Map(u"\\My Documents\\Glimmora_001.jpg"), u"C:\\hh\\My Documents\\Glimmora_001.jpg");
    EXPECT_EQ(Map(u"/Temp//x.jpg"), u"C:\\hh\\Temp\\x.jpg");
    EXPECT_EQ(Map(u"Temp\\"), u"C:\\hh\\Temp");
    EXPECT_EQ(Map(u"\\"), u"C:\\hh\\");
    EXPECT_EQ(Map(u"\\a.b\\.hidden"), u"C:\\hh\\a.b\\.hidden");
}

TEST(DevicePath, NothingEscapesTheRootOrNamesAHostDevice) {
    for (const char16_t* bad : {u"\\..\\x", u"\\a\\..\\..\\x", u"\\.\\x", u"\\...\\x", u"\\.. \\x",
                                u"C:\\x", u"\\x:stream", u"\\a\\*", u"\\tab\there", u"\\NUL",
                                u"\\con.txt", u"\\Temp\\Com1.jpg", u"\\lpt9"}) {
        uint32_t e = 0;
        Map(bad, &e);
        EXPECT_EQ(e, err::kInvalidName) << std::u16string(bad).size();
    }
    uint32_t e = 0;
    Map(u"", &e);
    EXPECT_EQ(e, err::kPathNotFound);
    Map(u"\\" + std::u16string(260, u'a'), &e);
    EXPECT_EQ(e, err::kFilenameTooLong);
    EXPECT_EQ(Map(u"\\console\\comet\\lpt10"), u"C:\\hh\\console\\comet\\lpt10");
}

TEST(DevicePath, PersonalFolderAndTempAreThePocketPcOnes) {
    std::u16string p;
    ASSERT_TRUE(SpecialFolderPath(5, &p));
    EXPECT_EQ(p, u"\\My Documents");
    EXPECT_FALSE(SpecialFolderPath(0x2a, &p));
    EXPECT_FALSE(SpecialFolderPath(-1, &p));
    EXPECT_EQ(DeviceTempPath(), u"\\Temp\\");
}

}  // namespace
}  // namespace glimmora::remote

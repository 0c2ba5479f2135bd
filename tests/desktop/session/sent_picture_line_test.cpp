#include "desktop/session/sent_picture_line.h"

#include <gtest/gtest.h>

#include <string>

namespace glimmora::desktop::session {
namespace {

// scripts/frame reads these lines back out of Wine's debug channel; its pattern is
// "Dockhaven: sent WxH as WxH in N ms: PATH".
TEST(SentPictureLine, SizesTimeThenThePathAsItIs) {
    const struct {
        std::string source;
        PictureSize before, after;
        std::uint32_t ms;
        std::string line;
    } cases[] = {
        {"Z:\\usr\\share\\backgrounds\\Aqua.jpg",
         {2560, 1600},
         {512, 320},
         143,
         "Dockhaven: sent 2560x1600 as 512x320 in 143 ms: Z:\\usr\\share\\backgrounds\\Aqua.jpg\n"},
        // Blanks, a colon and an ANSI byte in the path stay; nothing is quoted.
        {"C:\\My Pictures\\a: b \xe4.jpg",
         {300, 200},
         {300, 200},
         0,
         "Dockhaven: sent 300x200 as 300x200 in 0 ms: C:\\My Pictures\\a: b \xe4.jpg\n"},
        // The whole unsigned range of a tick difference, never a negative number.
        {"D:\\p.jpg",
         {1, 70000},
         {1, 320},
         4294967295U,
         "Dockhaven: sent 1x70000 as 1x320 in 4294967295 ms: D:\\p.jpg\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SentPictureLine(c.source, c.before, c.after, c.ms), c.line);
    }
}

}  // namespace
}  // namespace glimmora::desktop::session

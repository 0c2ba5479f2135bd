#include "handoff/picture_limits.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace glimmora::handoff {
namespace {

TEST(PictureLimits, RefusesOnlyHeadersBeyondFiveHundredMillionPixels) {
    struct Case {
        std::uint32_t width, height;
        bool refused;
    };
    for (const Case& c : {
             Case{65500, 65500, true},  // the largest size the format allows
             Case{65500, 7634, true},   // 500,027,000: just over
             Case{65500, 7633, false},
             Case{25000, 20000, false},  // exactly at the limit
             Case{25000, 20001, true},
             Case{20001, 25000, true},
             Case{16320, 12240, false},  // a 200-megapixel camera's photo
             Case{0, 65500, false},      // empty pictures are the decoder's to refuse
             Case{0xFFFFFFFFu, 0xFFFFFFFFu, true},
         }) {
        EXPECT_EQ(HasTooManyPixels(c.width, c.height), c.refused) << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace glimmora::handoff

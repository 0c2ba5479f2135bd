#include <gtest/gtest.h>

#include "remote/protocol/wire.h"

namespace glimmora::remote {
namespace {

std::vector<uint8_t> Body(std::initializer_list<uint8_t> b) { return std::vector<uint8_t>(b); }

TEST(FrameDecoder, ReassemblesFramesFedOneByteAtATime) {
    std::vector<uint8_t> stream = MakeFrame(Body({1, 2, 3}));
    std::vector<uint8_t> second = MakeFrame(Body({}));
    stream.insert(stream.end(), second.begin(), second.end());
    FrameDecoder d;
    std::vector<std::vector<uint8_t>> got;
    for (uint8_t b : stream) {
        std::size_t used = 0;
        auto status = d.Feed(&b, 1, &used);
        ASSERT_EQ(used, 1u);
        ASSERT_NE(status, FrameDecoder::Status::kTooLarge);
        if (status == FrameDecoder::Status::kFrame) got.push_back(d.TakeFrame());
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], Body({1, 2, 3}));
    EXPECT_TRUE(got[1].empty());
    EXPECT_FALSE(d.InFrame());
}

TEST(FrameDecoder, StopsAtTheEndOfEachFrameInOneBuffer) {
    std::vector<uint8_t> stream = MakeFrame(Body({9}));
    std::vector<uint8_t> second = MakeFrame(Body({7, 8}));
    stream.insert(stream.end(), second.begin(), second.end());
    FrameDecoder d;
    std::size_t used = 0;
    ASSERT_EQ(d.Feed(stream.data(), stream.size(), &used), FrameDecoder::Status::kFrame);
    EXPECT_EQ(used, 5u);
    EXPECT_EQ(d.TakeFrame(), Body({9}));
    std::size_t used2 = 0;
    ASSERT_EQ(d.Feed(stream.data() + used, stream.size() - used, &used2),
              FrameDecoder::Status::kFrame);
    EXPECT_EQ(d.TakeFrame(), Body({7, 8}));
}

TEST(FrameDecoder, RefusesOversizedLengthForGood) {
    FrameDecoder d(100);
    uint8_t header[4] = {101, 0, 0, 0};
    std::size_t used = 0;
    EXPECT_EQ(d.Feed(header, 4, &used), FrameDecoder::Status::kTooLarge);
    // The stream cannot be trusted after a bad length: later bytes must not be taken as a body.
    uint8_t more[8] = {};
    EXPECT_EQ(d.Feed(more, sizeof more, &used), FrameDecoder::Status::kTooLarge);
    EXPECT_EQ(used, 0u);

    // A tighter limit set between frames applies to the next header.
    FrameDecoder tight;
    auto small = MakeFrame(std::vector<uint8_t>(50, 1));
    ASSERT_EQ(tight.Feed(small.data(), small.size(), &used), FrameDecoder::Status::kFrame);
    tight.TakeFrame();
    tight.set_max_body(49);
    EXPECT_EQ(tight.Feed(small.data(), small.size(), &used), FrameDecoder::Status::kTooLarge);

    FrameDecoder big;
    uint8_t huge[4] = {0xff, 0xff, 0xff, 0xff};
    EXPECT_EQ(big.Feed(huge, 4, &used), FrameDecoder::Status::kTooLarge);
    FrameDecoder edge;
    auto limit = MakeFrame(std::vector<uint8_t>(kMaxFrameBody, 0));
    EXPECT_EQ(edge.Feed(limit.data(), limit.size(), &used), FrameDecoder::Status::kFrame);
}

TEST(Reader, FailsOnShortInvalidOrLeftoverInput) {
    auto bytes = Writer().Str(u"abc").Take();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        Reader r(bytes.data(), n);
        r.Str();
        EXPECT_FALSE(r.ok()) << "truncated to " << n;
        EXPECT_EQ(r.U32(), 0u);  // a failed reader stays failed
    }
    auto with_nul = Writer().U32(2).U16('a').U16(0).Take();
    Reader nul(with_nul.data(), with_nul.size());
    nul.Str();
    EXPECT_FALSE(nul.ok());

    auto too_long = Writer().U32(kMaxStringUnits + 1).Take();
    Reader lng(too_long.data(), too_long.size());
    lng.Str();
    EXPECT_FALSE(lng.ok());

    // A blob that claims more than it carries must fail without allocating the claim.
    auto lying = Writer().U32(0xFFFFFFF0u).U8(1).Take();
    Reader lie(lying.data(), lying.size());
    EXPECT_TRUE(lie.Blob(0xFFFFFFFFu).empty());
    EXPECT_FALSE(lie.ok());

    auto extra = Writer().U32(1).U8(9).Take();
    Reader ex(extra.data(), extra.size());
    ex.U32();
    EXPECT_TRUE(ex.ok());
    EXPECT_FALSE(ex.Finished());
}

}  // namespace
}  // namespace glimmora::remote

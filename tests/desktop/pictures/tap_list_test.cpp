#include "desktop/pictures/tap_list.h"

#include <gtest/gtest.h>

#include <numeric>

namespace glimmora::desktop {
namespace {

using Indices = std::vector<std::int32_t>;
using Weights = std::vector<std::uint8_t>;

TEST(BuildTapList, ThreeToTwoTrimsAndCorrectsTheMiddleTap) {
    const std::vector<TapRecord> taps = BuildTapList(3, 2, 1.5, TapVariant::kColumns);
    ASSERT_EQ(taps.size(), 2u);
    EXPECT_EQ(taps[0].indices, (Indices{1, 0, 1}));
    EXPECT_EQ(taps[0].weights, (Weights{22, 56, 22}));  // 22, 66, 22 corrected by -10
    EXPECT_EQ(taps[1].indices, (Indices{1, 2}));        // the tap at 0 is exactly 1 away
    EXPECT_EQ(taps[1].weights, (Weights{44, 56}));      // 44, 44 corrected by +12
}

TEST(BuildTapList, FourToTwo) {
    const std::vector<TapRecord> taps = BuildTapList(4, 2, 2.0, TapVariant::kColumns);
    ASSERT_EQ(taps.size(), 2u);
    EXPECT_EQ(taps[0].indices, (Indices{1, 0, 1}));
    EXPECT_EQ(taps[0].weights, (Weights{25, 50, 25}));
    EXPECT_EQ(taps[1].indices, (Indices{1, 2, 3}));
    EXPECT_EQ(taps[1].weights, (Weights{25, 50, 25}));
}

TEST(BuildTapList, RowVariantIsRelativeToItsFirstRow) {
    const std::vector<TapRecord> taps = BuildTapList(4, 2, 2.0, TapVariant::kRows);
    EXPECT_EQ(taps[0].first, 0);
    EXPECT_EQ(taps[0].span, 2);
    EXPECT_EQ(taps[0].indices, (Indices{1, 0, 1}));
    EXPECT_EQ(taps[1].first, 1);
    EXPECT_EQ(taps[1].span, 3);
    EXPECT_EQ(taps[1].indices, (Indices{0, 1, 2}));
}

TEST(BuildTapList, ScaleOneGivesSingleTapsOfWeight100) {
    for (const TapRecord& r : BuildTapList(7, 7, 1.0, TapVariant::kRows)) {
        EXPECT_EQ(r.count, 1);
        EXPECT_EQ(r.weights, (Weights{100}));
        EXPECT_EQ(r.span, 1);
    }
}

struct HandWorkedCase {
    int n, m;
    std::vector<Indices> indices;
    std::vector<Weights> weights;
};

// Worked out with pencil: centre i * s, weight trunc((100 - |trunc(d * 100 / s)|) / s), the
// difference to 100 put on tap count / 2.
TEST(BuildTapList, NonIntegerScalesGiveTheHandWorkedRecords) {
    const HandWorkedCase cases[] = {
        {5, 2, {{2, 1, 0, 1, 2}, {1, 2, 3, 4}}, {{8, 24, 36, 24, 8}, {16, 32, 36, 16}}},
        {7,
         3,
         {{2, 1, 0, 1, 2}, {1, 2, 3, 4}, {3, 4, 5, 6, 6}},  // tap 7 lies a hair inside
         {{6, 24, 40, 24, 6}, {18, 36, 34, 12}, {12, 30, 40, 18, 0}}},
    };
    for (const auto& c : cases) {
        const auto taps = BuildTapList(c.n, c.m, double(c.n) / c.m, TapVariant::kColumns);
        ASSERT_EQ(taps.size(), c.indices.size());
        for (std::size_t i = 0; i < taps.size(); ++i) {
            EXPECT_EQ(taps[i].indices, c.indices[i]) << c.n << " -> " << c.m << " record " << i;
            EXPECT_EQ(taps[i].weights, c.weights[i]) << c.n << " -> " << c.m << " record " << i;
        }
    }
}

// Dividing by s puts the taps -n and n exactly on the tent's edge, so they are trimmed and
// every tap stays inside the row.
TEST(BuildTapList, OnePixelOutputsStayInsideThePicture) {
    for (int n : {49, 98}) {
        for (TapVariant variant : {TapVariant::kColumns, TapVariant::kRows}) {
            const TapRecord r = BuildTapList(n, 1, n, variant)[0];
            EXPECT_EQ(r.count, 2 * n - 1) << n;
            EXPECT_EQ(std::accumulate(r.weights.begin(), r.weights.end(), 0), 100) << n;
            for (std::int32_t index : r.indices) ASSERT_TRUE(index >= 0 && index < n) << n;
        }
    }
}

TEST(BuildTapList, EveryRecordAddsUpTo100AndStaysInsideThePicture) {
    for (int n : {2, 3, 5, 17, 100, 641, 4000}) {
        for (int m = 1; m < n; m += (n > 100 ? 37 : 1)) {
            const double s = static_cast<double>(n) / m;
            const std::vector<TapRecord> taps = BuildTapList(n, m, s, TapVariant::kColumns);
            ASSERT_EQ(static_cast<int>(taps.size()), m);
            for (const TapRecord& r : taps) {
                ASSERT_EQ(std::accumulate(r.weights.begin(), r.weights.end(), 0), 100)
                    << n << " -> " << m;
                for (std::int32_t index : r.indices) {
                    ASSERT_GE(index, 0);
                    ASSERT_LT(index, n);
                }
            }
        }
    }
}

}  // namespace
}  // namespace glimmora::desktop

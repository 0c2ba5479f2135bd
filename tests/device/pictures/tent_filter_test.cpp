#include "device/pictures/tent_filter.h"

#include <gtest/gtest.h>

#include <numeric>

namespace glimmora::device {
namespace {

using Weights = std::vector<std::uint8_t>;
using Indices = std::vector<std::int32_t>;

TEST(TentFilterTest, HalvingAveragesThreeSourcePixelsWithTheFirstListMirrored) {
    const auto lists = BuildColumnWeights(8, 4, 2.0);
    ASSERT_EQ(lists.size(), 4u);
    EXPECT_EQ(lists[0].indices, (Indices{1, 0, 1}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lists[i].weights, (Weights{25, 50, 25})) << i;
        if (i > 0) {
            EXPECT_EQ(lists[i].indices, (Indices{2 * i - 1, 2 * i, 2 * i + 1})) << i;
        }
    }
}

TEST(TentFilterTest, RatioOneAndAHalfPutsTheCorrectionOnTheUpperMiddleTap) {
    // Raw weights 22, 66, 22 add up to 110; two taps 44, 44 to 88: the difference goes to
    // tap n / 2, which for two taps is the second one.
    const auto lists = BuildColumnWeights(6, 4, 1.5);
    ASSERT_EQ(lists.size(), 4u);
    EXPECT_EQ(lists[0].indices, (Indices{1, 0, 1}));
    EXPECT_EQ(lists[0].weights, (Weights{22, 56, 22}));
    EXPECT_EQ(lists[1].indices, (Indices{1, 2}));
    EXPECT_EQ(lists[1].weights, (Weights{44, 56}));
    EXPECT_EQ(lists[2].indices, (Indices{2, 3, 4}));
    EXPECT_EQ(lists[2].weights, (Weights{22, 56, 22}));
    EXPECT_EQ(lists[3].indices, (Indices{4, 5}));
    EXPECT_EQ(lists[3].weights, (Weights{44, 56}));
}

TEST(TentFilterTest, WeightsComeFromTheReciprocalNotFromDividingByTheRatio) {
    // Dividing by 10/9 would give 81, 19 here and four taps for the 9 -> 5 case.
    EXPECT_EQ(BuildColumnWeights(10, 9, 10.0 / 9)[1].weights, (Weights{80, 20}));
    const auto last = BuildColumnWeights(9, 5, 9.0 / 5)[4];
    EXPECT_EQ(last.indices, (Indices{6, 7, 8}));
    EXPECT_EQ(last.weights, (Weights{18, 51, 31}));
}

struct HandWorkedCase {
    int n, m;
    std::vector<Indices> indices;
    std::vector<Weights> weights;
};

// Worked out with pencil: centre i * n / m, taps within the support, weight
// trunc((100 - |trunc(d * 100)|) / s) with d the distance times the reciprocal, the
// difference to 100 put on tap count / 2.
TEST(TentFilterTest, NonIntegerRatiosGiveTheHandWorkedLists) {
    const HandWorkedCase cases[] = {
        {5, 2, {{2, 1, 0, 1, 2}, {1, 2, 3, 4}}, {{8, 24, 36, 24, 8}, {16, 32, 36, 16}}},
        {7,
         3,
         {{2, 1, 0, 1, 2}, {1, 2, 3, 4}, {3, 4, 5, 6, 6}},  // tap 7 lies a hair inside
         {{6, 24, 40, 24, 6}, {18, 36, 34, 12}, {12, 30, 40, 18, 0}}},
    };
    for (const auto& c : cases) {
        const auto lists = BuildColumnWeights(c.n, c.m, double(c.n) / c.m);
        ASSERT_EQ(lists.size(), c.indices.size());
        for (std::size_t i = 0; i < lists.size(); ++i) {
            EXPECT_EQ(lists[i].indices, c.indices[i]) << c.n << " -> " << c.m << " list " << i;
            EXPECT_EQ(lists[i].weights, c.weights[i]) << c.n << " -> " << c.m << " list " << i;
        }
    }
}

// The tap -n sits just inside the support and mirrors to n: the clamp puts it on the last
// pixel with weight 0, in both list kinds.
TEST(TentFilterTest, OnePixelOutputsKeepTheMirroredFarTapInsideTheRow) {
    for (int n : {49, 98}) {
        const TapList column = BuildColumnWeights(n, 1, n)[0];
        ASSERT_EQ(column.indices.size(), static_cast<std::size_t>(2 * n + 1)) << n;
        EXPECT_EQ(column.indices.front(), n - 1) << n;
        EXPECT_EQ(column.weights.front(), 0) << n;
        EXPECT_EQ(column.indices.back(), n - 1) << n;
        EXPECT_EQ(column.indices[n], 0) << n;
        EXPECT_EQ(std::accumulate(column.weights.begin(), column.weights.end(), 0), 100) << n;
        const TapList row = BuildRowWeights(n, 1, n)[0];
        EXPECT_EQ(row.first, 0) << n;
        EXPECT_EQ(row.span, n) << n;
        for (std::int32_t index : row.indices) ASSERT_TRUE(index >= 0 && index < n) << n;
    }
}

TEST(TentFilterTest, VeryLargeRatiosPointSampleTheCentre) {
    for (auto [n, m] : {std::pair{1000, 10}, std::pair{2500, 10}, std::pair{640, 1}}) {
        const double s = double(n) / m;
        const auto lists = BuildColumnWeights(n, m, s);
        for (int i = 0; i < m; ++i) {
            const TapList& list = lists[i];
            const auto centre = static_cast<std::int32_t>(i * s);
            for (std::size_t k = 0; k < list.weights.size(); ++k) {
                if (list.indices[k] == centre && k == list.weights.size() / 2)
                    EXPECT_EQ(list.weights[k], 100) << n << "/" << m << " list " << i;
                else
                    EXPECT_EQ(list.weights[k], 0) << n << "/" << m << " list " << i << " tap " << k;
            }
        }
    }
}

TEST(TentFilterTest, RowListsAreRelativeToTheirFirstRowWithSpan) {
    const auto rows = BuildRowWeights(8, 4, 2.0);
    EXPECT_EQ(rows[0].first, 0);
    EXPECT_EQ(rows[0].span, 2);
    EXPECT_EQ(rows[0].indices, (Indices{1, 0, 1}));
    EXPECT_EQ(rows[1].first, 1);
    EXPECT_EQ(rows[1].span, 3);
    EXPECT_EQ(rows[1].indices, (Indices{0, 1, 2}));
    EXPECT_EQ(rows[3].first, 5);
    EXPECT_EQ(rows[3].indices, (Indices{0, 1, 2}));
}

TEST(TentFilterTest, EveryListAddsUpTo100AndStaysInsideTheSource) {
    for (int n = 1; n <= 160; ++n) {
        for (int m = 1; m <= n; ++m) {
            const auto rows = BuildRowWeights(n, m, double(n) / m);
            const auto columns = BuildColumnWeights(n, m, double(n) / m);
            for (int i = 0; i < m; ++i) {
                const int rowSum =
                    std::accumulate(rows[i].weights.begin(), rows[i].weights.end(), 0);
                const int colSum =
                    std::accumulate(columns[i].weights.begin(), columns[i].weights.end(), 0);
                ASSERT_EQ(rowSum, 100) << n << "/" << m << " list " << i;
                ASSERT_EQ(colSum, 100) << n << "/" << m << " list " << i;
                for (std::int32_t index : columns[i].indices) ASSERT_TRUE(index >= 0 && index < n);
                ASSERT_GE(rows[i].first, 0);
                ASSERT_LE(rows[i].first + rows[i].span, n);
                if (i > 0) {
                    ASSERT_GE(rows[i].first, rows[i - 1].first) << n << "/" << m;
                }
            }
        }
    }
}

}  // namespace
}  // namespace glimmora::device

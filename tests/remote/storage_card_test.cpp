#include "remote/agent/storage_card.h"

#include <gtest/gtest.h>

namespace glimmora::remote {
namespace {

struct CardCase {
    const char* text;
    std::optional<uint64_t> free_bytes;
    uint32_t slow_ms;
};

TEST(StorageCardTest, CardFileWords) {
    const CardCase cases[] = {
        {"", std::nullopt, 0},
        {"free 4096\n", 4096, 0},
        {"slow 2500 free 0", 0, 2500},
        {"free -1 slow x", std::nullopt, 0},             // not numbers: defaults
        {"free 99999999999999999999", std::nullopt, 0},  // out of range
        {"slow 60001", std::nullopt, 0},                 // longer than a minute: ignored
        {"free", std::nullopt, 0},                       // cut short while being written
    };
    for (const CardCase& c : cases) {
        StorageCard card = ParseStorageCard(c.text);
        EXPECT_EQ(card.free_bytes, c.free_bytes) << c.text;
        EXPECT_EQ(card.slow_ms, c.slow_ms) << c.text;
    }
}

TEST(StorageCardTest, AFullCardTakesWhatFitsAndStops) {
    StorageCard card;
    EXPECT_EQ(PlanWrite(card, 5000).bytes, 5000u);
    EXPECT_FALSE(PlanWrite(card, 5000).full);
    card.free_bytes = 5000;
    EXPECT_FALSE(PlanWrite(card, 5000).full);  // exactly fits
    card.free_bytes = 1200;
    EXPECT_EQ(PlanWrite(card, 5000).bytes, 1200u);
    EXPECT_TRUE(PlanWrite(card, 5000).full);
}

}  // namespace
}  // namespace glimmora::remote

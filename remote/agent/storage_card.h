// The handheld's storage card as a write sees it: how much room is left and how fast it
// takes data. A real card fills up and a write then stops part way with "disk full"; the
// agent reads the card's state from a small text file before every write, so a test or a
// soak can fill the card (or slow it down) while the handheld runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace glimmora::remote {

struct StorageCard {
    std::optional<uint64_t> free_bytes;  // none: room enough for anything
    uint32_t slow_ms = 0;                // pause in the middle of every write
};

// The card file's text: whitespace-separated words "free N" and "slow MS", in any order.
// Anything else (a missing file, a word without a number, a number out of range) leaves that
// part at its default, so a half-written file never blocks the handheld's writes.
StorageCard ParseStorageCard(const std::string& text);

// How many of `size` bytes a write puts on the card before it stops, and whether it stops
// because the card is full.
struct WritePlan {
    uint64_t bytes = 0;
    bool full = false;
};
WritePlan PlanWrite(const StorageCard& card, uint64_t size);

}  // namespace glimmora::remote

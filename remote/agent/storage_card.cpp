#include "remote/agent/storage_card.h"

#include <sstream>

namespace glimmora::remote {
namespace {

bool ReadNumber(const std::string& word, uint64_t max, uint64_t* out) {
    if (word.empty() || word.size() > 19) return false;
    uint64_t v = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > max) return false;
    *out = v;
    return true;
}

}  // namespace

StorageCard ParseStorageCard(const std::string& text) {
    StorageCard card;
    std::istringstream words(text);
    std::string key, value;
    while (words >> key) {
        if (!(words >> value)) break;
        uint64_t n = 0;
        if (key == "free" && ReadNumber(value, UINT64_C(1) << 48, &n)) card.free_bytes = n;
        // At most a minute: a slow card, never a hung one.
        if (key == "slow" && ReadNumber(value, 60000, &n)) card.slow_ms = static_cast<uint32_t>(n);
    }
    return card;
}

WritePlan PlanWrite(const StorageCard& card, uint64_t size) {
    if (!card.free_bytes || *card.free_bytes >= size) return {size, false};
    return {*card.free_bytes, true};
}

}  // namespace glimmora::remote

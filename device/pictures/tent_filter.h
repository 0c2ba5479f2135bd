// Tap tables of the handheld's tent filter: for each output column or row, which source
// pixels contribute and with what weight (hundredths; each list adds up to 100).
#pragma once

#include <cstdint>
#include <vector>

namespace glimmora::device {

struct TapList {
    std::vector<std::uint8_t> weights;
    // Source indices, mirrored at the edges. In row lists they are relative to `first`.
    std::vector<std::int32_t> indices;
    std::int32_t first = 0;  // row lists: smallest source row of the list
    std::int32_t span = 0;   // row lists: largest - smallest source row + 1
};

// For sourceLength N, outputLength M and ratio = N / M (>= 1), one list per output position.
std::vector<TapList> BuildColumnWeights(std::int32_t sourceLength, std::int32_t outputLength,
                                        double ratio);
std::vector<TapList> BuildRowWeights(std::int32_t sourceLength, std::int32_t outputLength,
                                     double ratio);

}  // namespace glimmora::device

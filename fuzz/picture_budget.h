// Which generated pictures the picture targets decode. Decoding costs time in proportion to
// the pixels a header announces, and the instrumented build is about twenty times slower
// than a release build: a header of 500 million pixels (the most the readers accept) takes
// about half a second in the viewer but over ten seconds here, which would read as a hang.
// So pictures are decoded up to a budget that keeps every input well under the two-second
// limit, and beyond the readers' own limit, where the refusal is what is exercised. Extreme
// widths or heights alone stay reachable (65500 x 60 is within the budget).
#pragma once

#include <cstddef>
#include <cstdint>

namespace glimmora::fuzz {

inline constexpr std::uint64_t kDecodeBudgetPixels = 4'000'000;

// False for a file whose header announces more than the budget but no more than the readers
// accept. Files without a readable header are always worth decoding.
bool WorthDecoding(const std::uint8_t* data, std::size_t size);

}  // namespace glimmora::fuzz

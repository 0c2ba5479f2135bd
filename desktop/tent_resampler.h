// Shrinks a picture that arrives one source row at a time with the desktop tent filter: each
// row is filtered horizontally as it comes in, and an output row is made as soon as every
// source row it needs has been seen. Only those rows are kept, so the memory used does not
// depend on the picture's height.
#pragma once

#include <cstdint>
#include <vector>

#include "desktop/bitmap24.h"
#include "desktop/tap_list.h"

namespace glimmora::desktop {

class TentResampler {
public:
    // components: 1 (grey) or 3 (blue, green, red). Output sizes must not exceed the source
    // sizes. Allocates everything up front; throws std::bad_alloc when that fails and
    // std::invalid_argument for sizes it cannot work with.
    TentResampler(int sourceWidth, int sourceHeight, int components, int outWidth,
                  int outHeight);

    // The next source row: sourceWidth * components bytes. Rows beyond the source height are
    // ignored. Never allocates and never throws, so it can sit between decoder calls.
    void PushRow(const std::uint8_t* row) noexcept;

    // True once every output row has been written.
    bool Complete() const { return nextOutputRow_ == bitmap_.height; }
    // True when the picture is shrunk (rather than copied row by row).
    bool Reduces() const { return reduces_; }

    Bitmap24 TakeBitmap() { return std::move(bitmap_); }

private:
    void FilterRowHorizontally(const std::uint8_t* row, std::int32_t* out) const noexcept;
    void ProduceRow(int y) noexcept;
    void CopyRow(const std::uint8_t* row) noexcept;

    int sourceWidth_;
    int sourceHeight_;
    int components_;
    bool reduces_;
    Bitmap24 bitmap_;
    int rowsSeen_ = 0;
    int nextOutputRow_ = 0;

    // Column taps flattened for the inner loop: taps of output column x are
    // [columnStart_[x], columnStart_[x + 1]); indices already multiplied by components.
    std::vector<std::int32_t> columnStart_;
    std::vector<std::int32_t> columnIndex_;
    std::vector<std::int32_t> columnWeight_;
    std::vector<TapRecord> rowTaps_;

    // Horizontally filtered rows, source row r in slot r % cacheRows_. The slot count is
    // the most rows any output row ever has to wait for, worked out from the row taps.
    int cacheRows_ = 0;
    std::size_t cacheRowLength_ = 0;  // outWidth * components
    std::vector<std::int32_t> cache_;
    std::vector<std::int32_t> sums_;  // one output row before the division
};

}  // namespace glimmora::desktop

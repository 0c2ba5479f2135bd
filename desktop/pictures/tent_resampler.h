// Shrinks a picture that arrives one source row at a time with the desktop tent filter. Each
// source row is added, weighted, into the few output rows it belongs to; an output row is
// filtered across and written as soon as its last source row has been added. All sums are
// exact integers divided only at the end, so summing rows before columns gives the very
// bytes the columns-first description gives, while the wide inner loop stays contiguous.
// Only the open output rows are kept, so the memory used does not depend on the height.
#pragma once

#include <cstdint>
#include <vector>

#include "desktop/pictures/bitmap24.h"
#include "desktop/pictures/tap_list.h"

namespace glimmora::desktop {

class TentResampler {
  public:
    // components: 1 (grey) or 3 (blue, green, red). Output sizes must not exceed the source
    // sizes. Allocates everything up front; throws std::bad_alloc when that fails and
    // std::invalid_argument for sizes it cannot work with.
    TentResampler(int sourceWidth, int sourceHeight, int components, int outWidth, int outHeight);

    // The next source row: sourceWidth * components bytes. Rows beyond the source height are
    // ignored. Never allocates and never throws, so it can sit between decoder calls.
    void PushRow(const std::uint8_t* row) noexcept;

    // True once every output row has been written.
    bool Complete() const { return nextOutputRow_ == bitmap_.height; }
    // True when the picture is shrunk (rather than copied row by row).
    bool Reduces() const { return reduces_; }

    Bitmap24 TakeBitmap() { return std::move(bitmap_); }

  private:
    void AddRow(const std::uint8_t* row) noexcept;
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
    // The row taps turned around: source row r feeds output rows rowTarget_[i] with weight
    // rowWeight_[i] for i in [rowStart_[r], rowStart_[r + 1]). Zero weights are left out.
    std::vector<std::int32_t> rowStart_;
    std::vector<std::int32_t> rowTarget_;
    std::vector<std::int32_t> rowWeight_;
    std::vector<std::int32_t> rowReadyAt_;  // per output row: source rows needed before it

    // Open output rows, output row y in slot y % openRows_, each sourceWidth * components
    // sums. The slot count is the most rows ever open at once, worked out from the taps.
    int openRows_ = 0;
    std::size_t rowLength_ = 0;
    std::vector<std::uint16_t> open_;
};

}  // namespace glimmora::desktop

#include "device/picture_readers.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "device/tent_filter.h"

namespace glimmora::device {

namespace {

enum class Placement { kUpright, kLeft, kRight };

Placement PlacementFor(std::uint8_t orientation) {
    if (orientation == kRotateLeft) return Placement::kLeft;
    if (orientation == kRotateRight) return Placement::kRight;
    return Placement::kUpright;
}

// Where pixel (x, y) of a width x height picture lands in the bitmap (which is already
// width x height, or height x width when turned).
class PixelPlacer {
public:
    PixelPlacer(DeviceBitmap& bitmap, Placement placement, std::int32_t width,
                std::int32_t height)
        : bits_(bitmap.bits),
          stride_(bitmap.Stride()),
          placement_(placement),
          width_(width),
          height_(height) {}

    // The first pixel of picture row y and the distance to the next pixel along that row.
    // Counter-clockwise the top edge becomes the left edge: (x, y) -> column y, row
    // width-1-x from the top, which is memory row x. Clockwise: column height-1-y, row x
    // from the top, memory row width-1-x.
    std::uint8_t* RowStart(std::int32_t y, std::ptrdiff_t& step) const {
        switch (placement_) {
            case Placement::kUpright:
                step = 3;
                return bits_ + static_cast<std::size_t>(height_ - 1 - y) * stride_;
            case Placement::kLeft:
                step = static_cast<std::ptrdiff_t>(stride_);
                return bits_ + static_cast<std::size_t>(y) * 3;
            case Placement::kRight:
            default:
                step = -static_cast<std::ptrdiff_t>(stride_);
                return bits_ + static_cast<std::size_t>(width_ - 1) * stride_ +
                       static_cast<std::size_t>(height_ - 1 - y) * 3;
        }
    }

private:
    std::uint8_t* bits_;
    std::size_t stride_;
    Placement placement_;
    std::int32_t width_;
    std::int32_t height_;
};

bool CreateFor(DeviceBitmap& bitmap, Placement placement, std::int32_t width,
               std::int32_t height) {
    return placement == Placement::kUpright ? bitmap.Create(width, height)
                                            : bitmap.Create(height, width);
}

bool CopyRows(ScanlineSource& source, DeviceBitmap& bitmap, Placement placement) {
    const std::int32_t width = source.Width();
    const std::int32_t height = source.Height();
    const int components = source.Components();
    if (!CreateFor(bitmap, placement, width, height)) return false;
    const PixelPlacer placer(bitmap, placement, width, height);
    while (source.RowsRead() < height) {
        const std::uint8_t* row = source.NextRow();
        if (!row) return false;
        std::ptrdiff_t step = 0;
        std::uint8_t* out = placer.RowStart(source.RowsRead() - 1, step);
        if (components == 3 && step == 3) {
            std::memcpy(out, row, static_cast<std::size_t>(width) * 3);
        } else if (components == 3) {
            for (std::int32_t x = 0; x < width; ++x, out += step, row += 3) {
                out[0] = row[0];
                out[1] = row[1];
                out[2] = row[2];
            }
        } else {
            // Grey, and the first component of four-component pictures, shown as grey.
            for (std::int32_t x = 0; x < width; ++x, out += step, row += components) {
                out[0] = out[1] = out[2] = row[0];
            }
        }
    }
    return true;
}

// Column taps flattened for the inner loop, with zero weights left out: they add nothing,
// and at large ratios nearly all of them are zero.
struct FlatColumnTaps {
    std::vector<std::uint32_t> begin;    // taps of column x: [begin[x], begin[x + 1])
    std::vector<std::uint32_t> offsets;  // byte offset of the source pixel in the row
    std::vector<std::uint32_t> weights;
};

FlatColumnTaps FlattenColumns(const std::vector<TapList>& lists, int components) {
    FlatColumnTaps flat;
    flat.begin.reserve(lists.size() + 1);
    for (const TapList& list : lists) {
        flat.begin.push_back(static_cast<std::uint32_t>(flat.weights.size()));
        for (std::size_t k = 0; k < list.weights.size(); ++k) {
            if (list.weights[k] == 0) continue;
            flat.offsets.push_back(static_cast<std::uint32_t>(list.indices[k]) *
                                   static_cast<std::uint32_t>(components));
            flat.weights.push_back(list.weights[k]);
        }
    }
    flat.begin.push_back(static_cast<std::uint32_t>(flat.weights.size()));
    return flat;
}

// Horizontally filtered source rows that the vertical filter still needs, oldest first.
// Holds at most the largest span of the row lists, however tall the picture is.
class RowQueue {
public:
    RowQueue(std::size_t capacity, std::size_t rowLength)
        : storage_(capacity * rowLength), capacity_(capacity), rowLength_(rowLength) {}

    std::int32_t headRow() const { return headRow_; }
    std::size_t size() const { return count_; }
    bool full() const { return count_ == capacity_; }
    std::uint32_t* Append() { return Slot(count_++); }
    const std::uint32_t* At(std::size_t i) const {
        return const_cast<RowQueue*>(this)->Slot(i);
    }
    // Moves the head to source row `row`, dropping the rows before it.
    void AdvanceTo(std::int32_t row) {
        if (row <= headRow_) return;
        const std::size_t drop =
            std::min<std::size_t>(static_cast<std::size_t>(row - headRow_), count_);
        head_ = (head_ + drop) % capacity_;
        count_ -= drop;
        headRow_ = row;
    }

private:
    std::uint32_t* Slot(std::size_t i) {
        return storage_.data() + ((head_ + i) % capacity_) * rowLength_;
    }
    std::vector<std::uint32_t> storage_;
    std::size_t capacity_;
    std::size_t rowLength_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    std::int32_t headRow_ = 0;
};

void FilterRow(const std::uint8_t* row, const FlatColumnTaps& taps, std::int32_t width,
               bool colour, std::uint32_t* out) {
    const std::uint32_t* begin = taps.begin.data();
    const std::uint32_t* offsets = taps.offsets.data();
    const std::uint32_t* weights = taps.weights.data();
    if (colour) {
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint32_t b = 0, g = 0, r = 0;
            for (std::uint32_t k = begin[x]; k < begin[x + 1]; ++k) {
                const std::uint8_t* p = row + offsets[k];
                const std::uint32_t w = weights[k];
                b += w * p[0];
                g += w * p[1];
                r += w * p[2];
            }
            out[3 * x] = b;
            out[3 * x + 1] = g;
            out[3 * x + 2] = r;
        }
    } else {
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint32_t v = 0;
            for (std::uint32_t k = begin[x]; k < begin[x + 1]; ++k) v += weights[k] * row[offsets[k]];
            out[x] = v;
        }
    }
}

std::uint8_t ToByte(std::uint32_t sum) {
    const std::uint32_t v = sum / 10000u;  // 100 x 100 fixed point
    return static_cast<std::uint8_t>(v > 255 ? 255 : v);
}

bool ReadFiltered(ScanlineSource& source, DeviceBitmap& bitmap, std::int32_t tw,
                  std::int32_t th, Placement placement) {
    if (!CreateFor(bitmap, placement, tw, th)) return false;
    const std::int32_t pw = source.Width();
    const std::int32_t ph = source.Height();
    const int components = source.Components();
    const bool colour = components == 3;
    const std::size_t channels = colour ? 3 : 1;
    const std::size_t rowLength = static_cast<std::size_t>(tw) * channels;

    const FlatColumnTaps columns = FlattenColumns(
        BuildColumnWeights(pw, tw, static_cast<double>(pw) / static_cast<double>(tw)),
        components);
    const std::vector<TapList> rows =
        BuildRowWeights(ph, th, static_cast<double>(ph) / static_cast<double>(th));
    std::int32_t maxSpan = 1;
    for (const TapList& list : rows) maxSpan = std::max(maxSpan, list.span);

    RowQueue queue(static_cast<std::size_t>(maxSpan), rowLength);
    queue.AdvanceTo(rows.front().first);
    std::vector<std::uint32_t> sums(rowLength);
    const PixelPlacer placer(bitmap, placement, tw, th);
    std::int32_t y = 0;
    while (source.RowsRead() < ph) {
        const std::uint8_t* row = source.NextRow();
        if (!row) return false;
        const std::int32_t sourceRow = source.RowsRead() - 1;
        // Rows past the last output row, or before the current list's first row, feed
        // nothing; filtering them would only cost time.
        if (y >= th || sourceRow < queue.headRow()) continue;
        if (queue.full()) return false;  // the lists are inconsistent; never write past
        FilterRow(row, columns, tw, colour, queue.Append());

        // Normally one output row per source row; the loop keeps the bitmap complete
        // should two lists ever end on the same source row.
        while (y < th && queue.headRow() == rows[y].first &&
               queue.size() >= static_cast<std::size_t>(rows[y].span)) {
            const TapList& list = rows[y];
            std::fill(sums.begin(), sums.end(), 0u);
            for (std::size_t k = 0; k < list.weights.size(); ++k) {
                const std::uint32_t w = list.weights[k];
                if (w == 0) continue;
                const std::uint32_t* src = queue.At(static_cast<std::size_t>(list.indices[k]));
                for (std::size_t i = 0; i < rowLength; ++i) sums[i] += w * src[i];
            }
            std::ptrdiff_t step = 0;
            std::uint8_t* out = placer.RowStart(y, step);
            for (std::int32_t x = 0; x < tw; ++x, out += step) {
                if (colour) {
                    out[0] = ToByte(sums[3 * x]);
                    out[1] = ToByte(sums[3 * x + 1]);
                    out[2] = ToByte(sums[3 * x + 2]);
                } else {
                    out[0] = out[1] = out[2] = ToByte(sums[x]);
                }
            }
            ++y;
            if (y < th) queue.AdvanceTo(rows[y].first);
        }
    }
    return true;
}

}  // namespace

bool CopyPicture(ScanlineSource& source, DeviceBitmap& bitmap, std::uint8_t orientation) {
    return CopyRows(source, bitmap, PlacementFor(orientation));
}

bool ReadScaled(ScanlineSource& source, DeviceBitmap& bitmap, std::int32_t width,
                std::int32_t height) {
    return ReadFiltered(source, bitmap, width, height, Placement::kUpright);
}

bool ReadScaledTurned(ScanlineSource& source, DeviceBitmap& bitmap, std::int32_t width,
                      std::int32_t height, bool left) {
    return ReadFiltered(source, bitmap, width, height, left ? Placement::kLeft : Placement::kRight);
}

bool FillBitmap(ScanlineSource& source, DeviceBitmap& bitmap, std::uint8_t orientation,
                TargetSize target) {
    const bool fits = target.width > 0 && target.height > 0 &&
                      static_cast<double>(source.Width()) / target.width <= 1.0 &&
                      static_cast<double>(source.Height()) / target.height <= 1.0;
    if (fits) return CopyPicture(source, bitmap, orientation);
    if (IsTurned(orientation))
        return ReadScaledTurned(source, bitmap, target.width, target.height,
                                orientation == kRotateLeft);
    return ReadScaled(source, bitmap, target.width, target.height);
}

}  // namespace glimmora::device

#include "device/pictures/picture_readers.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "device/pictures/tent_filter.h"

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
    PixelPlacer(DeviceBitmap& bitmap, Placement placement, std::int32_t width, std::int32_t height)
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

bool CreateFor(DeviceBitmap& bitmap, Placement placement, std::int32_t width, std::int32_t height) {
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

// One output row's vertical filter: the weight of each source row from `first` on (taps
// that mirror onto the same row are merged), and the source row that completes it.
struct RowPlan {
    std::int32_t first;
    std::int32_t last;
    std::vector<std::uint32_t> weights;  // indexed by source row - first
};

std::vector<RowPlan> PlanRows(const std::vector<TapList>& lists, std::uint32_t& maxWeightSum) {
    std::vector<RowPlan> plans;
    plans.reserve(lists.size());
    maxWeightSum = 0;
    for (const TapList& list : lists) {
        RowPlan plan{list.first, list.first + list.span - 1,
                     std::vector<std::uint32_t>(static_cast<std::size_t>(list.span), 0u)};
        std::uint32_t sum = 0;
        for (std::size_t k = 0; k < list.weights.size(); ++k) {
            plan.weights[static_cast<std::size_t>(list.indices[k])] += list.weights[k];
            sum += list.weights[k];
        }
        maxWeightSum = std::max(maxWeightSum, sum);
        plans.push_back(std::move(plan));
    }
    return plans;
}

std::uint8_t ToByte(std::uint32_t sum) {
    const std::uint32_t v = sum / 10000u;  // 100 x 100 fixed point
    return static_cast<std::uint8_t>(v > 255 ? 255 : v);
}

// sums (+)= w[0] x rows[0] + ... + w[N-1] x rows[N-1] over whole decoded rows, in one
// contiguous pass the compiler vectorises. An output row's first batch sets its sums
// instead of adding to them, which spares clearing them beforehand.
template <typename Acc, int N, bool kSet>
void Accumulate(Acc* __restrict sums, const std::uint8_t* const* rows, const std::uint32_t* w,
                std::size_t length) {
    const std::uint8_t* __restrict r0 = rows[0];
    const std::uint8_t* __restrict r1 = rows[N > 1 ? 1 : 0];
    const std::uint8_t* __restrict r2 = rows[N > 2 ? 2 : 0];
    const std::uint8_t* __restrict r3 = rows[N > 3 ? 3 : 0];
    const auto w0 = static_cast<Acc>(w[0]);
    const auto w1 = static_cast<Acc>(N > 1 ? w[1] : 0);
    const auto w2 = static_cast<Acc>(N > 2 ? w[2] : 0);
    const auto w3 = static_cast<Acc>(N > 3 ? w[3] : 0);
    for (std::size_t i = 0; i < length; ++i) {
        Acc v = static_cast<Acc>((kSet ? 0 : sums[i]) + w0 * r0[i]);
        if (N > 1) v = static_cast<Acc>(v + w1 * r1[i]);
        if (N > 2) v = static_cast<Acc>(v + w2 * r2[i]);
        if (N > 3) v = static_cast<Acc>(v + w3 * r3[i]);
        sums[i] = v;
    }
}

template <typename Acc, bool kSet>
void AccumulateRows(Acc* sums, const std::uint8_t* const* rows, const std::uint32_t* w, int n,
                    std::size_t length) {
    switch (n) {
        case 1: Accumulate<Acc, 1, kSet>(sums, rows, w, length); break;
        case 2: Accumulate<Acc, 2, kSet>(sums, rows, w, length); break;
        case 3: Accumulate<Acc, 3, kSet>(sums, rows, w, length); break;
        default: Accumulate<Acc, 4, kSet>(sums, rows, w, length); break;
    }
}

constexpr int kMaxBatch = 4;

// Writes output row y of the picture from its vertical sums: each column's taps over them.
template <typename Acc>
void WriteFilteredRow(const Acc* sums, const PixelPlacer& placer, std::int32_t y, std::int32_t tw,
                      bool colour, const FlatColumnTaps& columns) {
    const std::uint32_t* begin = columns.begin.data();
    const std::uint32_t* offsets = columns.offsets.data();
    const std::uint32_t* weightsOf = columns.weights.data();
    std::ptrdiff_t step = 0;
    std::uint8_t* out = placer.RowStart(y, step);
    if (!colour) {
        for (std::int32_t x = 0; x < tw; ++x, out += step) {
            std::uint32_t v = 0;
            for (std::uint32_t k = begin[x]; k < begin[x + 1]; ++k)
                v += weightsOf[k] * sums[offsets[k]];
            out[0] = out[1] = out[2] = ToByte(v);
        }
        return;
    }
    for (std::int32_t x = 0; x < tw; ++x, out += step) {
        std::uint32_t b = 0, g = 0, red = 0;
        for (std::uint32_t k = begin[x]; k < begin[x + 1]; ++k) {
            const Acc* p = sums + offsets[k];
            b += weightsOf[k] * p[0];
            g += weightsOf[k] * p[1];
            red += weightsOf[k] * p[2];
        }
        out[0] = ToByte(b);
        out[1] = ToByte(g);
        out[2] = ToByte(red);
    }
}

// The filter is separable and exact in integers: summing each column's taps over the rows
// first and then each row's taps over the columns gives the very sums of filtering rows
// first (sums of products, nothing rounded in between). Rows first lets decoded rows be
// added to the few output rows they feed in contiguous passes, a fraction of the cost of
// walking every column's taps for every source row; the column taps then run once per
// output row only. With large vertical ratios a few source rows are decoded into a batch
// first, so each output row's sums go through the cache once per batch rather than once
// per row. Only the rows of one batch and the sums of the output rows still being
// gathered are held, however tall the picture.
// `Acc` holds one vertical sum (at most 100 x 255 when a list's weights add up to 100).
template <typename Acc>
class RowGatherer {
  public:
    RowGatherer(const PixelPlacer& placer, std::int32_t tw, std::int32_t th, bool colour,
                std::size_t rowLength, const std::vector<RowPlan>& plans,
                const FlatColumnTaps& columns)
        : placer_(placer),
          tw_(tw),
          th_(th),
          colour_(colour),
          rowLength_(rowLength),
          plans_(plans),
          columns_(columns) {}

    // Takes source rows batchFirst .. batchFirst + count - 1.
    void AddBatch(const std::uint8_t* const* rows, std::int32_t batchFirst, int count) {
        const std::int32_t batchLast = batchFirst + count - 1;
        OpenRowsStartingBy(batchLast);
        for (Open& o : open_) AddTo(o, rows, batchFirst, count);
        FinishRowsEndingBy(batchLast);
    }

    // Every output row has been opened and written.
    bool Complete() const { return nextToOpen_ == th_ && open_.empty(); }

  private:
    // An output row whose source rows are still arriving, with its sums.
    struct Open {
        std::int32_t y;
        std::vector<Acc> sums;
        bool started;  // some source row has been added (until then `sums` is garbage)
    };

    const RowPlan& PlanOf(std::int32_t y) const { return plans_[static_cast<std::size_t>(y)]; }

    void OpenRowsStartingBy(std::int32_t batchLast) {
        while (nextToOpen_ < th_ && PlanOf(nextToOpen_).first <= batchLast) {
            std::vector<Acc> sums;
            if (!spare_.empty()) {
                sums = std::move(spare_.back());
                spare_.pop_back();
            }
            sums.resize(rowLength_);
            open_.push_back({nextToOpen_++, std::move(sums), false});
        }
    }

    // Adds the batch's rows that output row `o` weighs.
    void AddTo(Open& o, const std::uint8_t* const* rows, std::int32_t batchFirst, int count) {
        const RowPlan& plan = PlanOf(o.y);
        const std::uint8_t* used[kMaxBatch];
        std::uint32_t weights[kMaxBatch];
        int n = 0;
        for (int k = 0; k < count; ++k) {
            const std::int32_t r = batchFirst + k;
            if (r < plan.first || r > plan.last) continue;
            const std::uint32_t w = plan.weights[static_cast<std::size_t>(r - plan.first)];
            if (w == 0) continue;
            used[n] = rows[k];
            weights[n++] = w;
        }
        if (n == 0) return;
        if (o.started)
            AccumulateRows<Acc, false>(o.sums.data(), used, weights, n, rowLength_);
        else
            AccumulateRows<Acc, true>(o.sums.data(), used, weights, n, rowLength_);
        o.started = true;
    }

    // Output rows whose last source row has arrived are complete.
    void FinishRowsEndingBy(std::int32_t batchLast) {
        for (std::size_t i = 0; i < open_.size();) {
            Open& o = open_[i];
            if (PlanOf(o.y).last > batchLast) {
                ++i;
                continue;
            }
            if (!o.started) std::fill(o.sums.begin(), o.sums.end(), Acc{0});
            WriteFilteredRow(o.sums.data(), placer_, o.y, tw_, colour_, columns_);
            spare_.push_back(std::move(o.sums));
            open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    const PixelPlacer& placer_;
    const std::int32_t tw_;
    const std::int32_t th_;
    const bool colour_;
    const std::size_t rowLength_;
    const std::vector<RowPlan>& plans_;
    const FlatColumnTaps& columns_;
    std::vector<Open> open_;               // oldest first
    std::vector<std::vector<Acc>> spare_;  // sums of finished rows, for reuse
    std::int32_t nextToOpen_ = 0;
};

template <typename Acc>
bool ReadFilteredWith(ScanlineSource& source, DeviceBitmap& bitmap, std::int32_t tw,
                      std::int32_t th, Placement placement, const std::vector<RowPlan>& plans,
                      const FlatColumnTaps& columns) {
    const std::int32_t ph = source.Height();
    const std::size_t rowLength =
        static_cast<std::size_t>(source.Width()) * static_cast<std::size_t>(source.Components());
    const double rowRatio = static_cast<double>(ph) / static_cast<double>(th);
    // A batch longer than about half an output row's spacing mostly adds zero weights.
    const int batch = rowRatio >= 8.0 ? kMaxBatch : rowRatio >= 4.0 ? 2 : 1;
    std::vector<std::uint8_t> batchRows(static_cast<std::size_t>(batch) * rowLength);

    const PixelPlacer placer(bitmap, placement, tw, th);
    RowGatherer<Acc> gatherer(placer, tw, th, source.Components() == 3, rowLength, plans, columns);
    const std::uint8_t* rows[kMaxBatch] = {};
    std::int32_t batchFirst = 0;
    int count = 0;
    while (source.RowsRead() < ph) {
        const std::uint8_t* row =
            source.NextRow(batchRows.data() + static_cast<std::size_t>(count) * rowLength);
        if (!row) return false;
        if (count == 0) batchFirst = source.RowsRead() - 1;
        rows[count++] = row;
        if (count < batch && source.RowsRead() < ph) continue;
        gatherer.AddBatch(rows, batchFirst, count);
        count = 0;
    }
    // Every source row has been read, so every output row has been completed.
    return gatherer.Complete();
}

bool ReadFiltered(ScanlineSource& source, DeviceBitmap& bitmap, std::int32_t tw, std::int32_t th,
                  Placement placement) {
    if (!CreateFor(bitmap, placement, tw, th)) return false;
    const std::int32_t pw = source.Width();
    const std::int32_t ph = source.Height();
    const FlatColumnTaps columns = FlattenColumns(
        BuildColumnWeights(pw, tw, static_cast<double>(pw) / static_cast<double>(tw)),
        source.Components());
    std::uint32_t maxWeightSum = 0;
    const std::vector<RowPlan> plans = PlanRows(
        BuildRowWeights(ph, th, static_cast<double>(ph) / static_cast<double>(th)), maxWeightSum);
    // 16-bit sums hold 257 x 255; wider ones are only a safeguard for odd weight tables.
    if (maxWeightSum <= 257)
        return ReadFilteredWith<std::uint16_t>(source, bitmap, tw, th, placement, plans, columns);
    return ReadFilteredWith<std::uint32_t>(source, bitmap, tw, th, placement, plans, columns);
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

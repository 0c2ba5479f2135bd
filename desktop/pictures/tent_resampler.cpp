#include "desktop/pictures/tent_resampler.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace glimmora::desktop {

TentResampler::TentResampler(int sourceWidth, int sourceHeight, int components, int outWidth,
                             int outHeight)
    : sourceWidth_(sourceWidth), sourceHeight_(sourceHeight), components_(components) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || outWidth <= 0 || outHeight <= 0 ||
        outWidth > sourceWidth || outHeight > sourceHeight ||
        (components != 1 && components != 3)) {
        throw std::invalid_argument("unsupported resampling sizes");
    }
    const double xs = static_cast<double>(sourceWidth) / outWidth;
    const double ys = static_cast<double>(sourceHeight) / outHeight;
    reduces_ = xs > 1.0 || ys > 1.0;
    bitmap_ = MakeBitmap24(reduces_ ? outWidth : sourceWidth, reduces_ ? outHeight : sourceHeight);
    if (!reduces_) return;

    const std::vector<TapRecord> columns =
        BuildTapList(sourceWidth, outWidth, xs, TapVariant::kColumns);
    columnStart_.reserve(columns.size() + 1);
    columnStart_.push_back(0);
    for (const TapRecord& record : columns) {
        for (std::int32_t t = 0; t < record.count; ++t) {
            columnIndex_.push_back(record.indices[static_cast<std::size_t>(t)] * components);
            columnWeight_.push_back(record.weights[static_cast<std::size_t>(t)]);
        }
        columnStart_.push_back(static_cast<std::int32_t>(columnIndex_.size()));
    }

    const std::vector<TapRecord> rows =
        BuildTapList(sourceHeight, outHeight, ys, TapVariant::kRows);
    rowStart_.assign(static_cast<std::size_t>(sourceHeight) + 1, 0);
    rowReadyAt_.resize(rows.size());
    for (std::size_t y = 0; y < rows.size(); ++y) {
        const TapRecord& record = rows[y];
        rowReadyAt_[y] = record.first + record.span;
        for (std::int32_t t = 0; t < record.count; ++t) {
            if (record.weights[static_cast<std::size_t>(t)] == 0) continue;
            ++rowStart_[static_cast<std::size_t>(record.first +
                                                 record.indices[static_cast<std::size_t>(t)]) +
                        1];
        }
    }
    for (std::size_t r = 0; r < static_cast<std::size_t>(sourceHeight); ++r)
        rowStart_[r + 1] += rowStart_[r];
    rowTarget_.resize(static_cast<std::size_t>(rowStart_.back()));
    rowWeight_.resize(rowTarget_.size());
    std::vector<std::int32_t> fill(rowStart_.begin(), rowStart_.end() - 1);
    for (std::size_t y = 0; y < rows.size(); ++y) {
        const TapRecord& record = rows[y];
        for (std::int32_t t = 0; t < record.count; ++t) {
            const std::uint8_t w = record.weights[static_cast<std::size_t>(t)];
            if (w == 0) continue;
            const auto r = static_cast<std::size_t>(record.first +
                                                    record.indices[static_cast<std::size_t>(t)]);
            const auto at = static_cast<std::size_t>(fill[r]++);
            rowTarget_[at] = static_cast<std::int32_t>(y);
            rowWeight_[at] = w;
        }
    }

    // Walk the rows once as PushRow will: output rows are written in order, each once all
    // its source rows are in (and not before the row above it); the open ones must all fit.
    int highestOpened = -1;
    int written = 0;
    for (int r = 0; r < sourceHeight; ++r) {
        for (std::int32_t i = rowStart_[static_cast<std::size_t>(r)];
             i < rowStart_[static_cast<std::size_t>(r) + 1]; ++i) {
            highestOpened = std::max(highestOpened, rowTarget_[static_cast<std::size_t>(i)]);
        }
        openRows_ = std::max(openRows_, highestOpened - written + 1);
        while (written < outHeight && rowReadyAt_[static_cast<std::size_t>(written)] <= r + 1)
            ++written;
    }
    openRows_ = std::max(openRows_, 1);
    rowLength_ = static_cast<std::size_t>(sourceWidth) * static_cast<std::size_t>(components);
    open_.assign(static_cast<std::size_t>(openRows_) * rowLength_, 0);
}

namespace {

// The hot loop of a reduction: one weighted source row into one open output row. A row's
// weights add up to 100, so a sum never exceeds 255 * 100 = 25500 and 16 bits hold it, which
// doubles what one vector instruction does. The pointers never overlap.
void AccumulateRow(std::uint16_t* __restrict sums, const std::uint8_t* __restrict row,
                   std::size_t n, std::uint16_t w) noexcept {
    for (std::size_t k = 0; k < n; ++k) {
        sums[k] = static_cast<std::uint16_t>(sums[k] + row[k] * w);
    }
}

}  // namespace

void TentResampler::AddRow(const std::uint8_t* row) noexcept {
    const auto r = static_cast<std::size_t>(rowsSeen_);
    for (std::int32_t i = rowStart_[r]; i < rowStart_[r + 1]; ++i) {
        const std::int32_t y = rowTarget_[static_cast<std::size_t>(i)];
        const std::int32_t w = rowWeight_[static_cast<std::size_t>(i)];
        AccumulateRow(open_.data() + static_cast<std::size_t>(y % openRows_) * rowLength_, row,
                      rowLength_, static_cast<std::uint16_t>(w));
    }
}

void TentResampler::ProduceRow(int y) noexcept {
    std::uint16_t* sums = open_.data() + static_cast<std::size_t>(y % openRows_) * rowLength_;
    std::uint8_t* out = bitmap_.Row(y);
    const std::int32_t* index = columnIndex_.data();
    const std::int32_t* weight = columnWeight_.data();
    const int outWidth = bitmap_.width;
    for (int x = 0; x < outWidth; ++x) {
        const std::int32_t begin = columnStart_[static_cast<std::size_t>(x)];
        const std::int32_t end = columnStart_[static_cast<std::size_t>(x) + 1];
        if (components_ == 3) {
            std::int32_t b = 0, g = 0, r = 0;
            for (std::int32_t t = begin; t < end; ++t) {
                const std::uint16_t* px = sums + index[t];
                b += px[0] * weight[t];
                g += px[1] * weight[t];
                r += px[2] * weight[t];
            }
            out[3 * x] = static_cast<std::uint8_t>(std::min(b / 10000, 255));
            out[3 * x + 1] = static_cast<std::uint8_t>(std::min(g / 10000, 255));
            out[3 * x + 2] = static_cast<std::uint8_t>(std::min(r / 10000, 255));
        } else {
            std::int32_t v = 0;
            for (std::int32_t t = begin; t < end; ++t) v += sums[index[t]] * weight[t];
            out[3 * x] = out[3 * x + 1] = out[3 * x + 2] =
                static_cast<std::uint8_t>(std::min(v / 10000, 255));
        }
    }
    std::fill(sums, sums + rowLength_, 0);  // the slot's next row starts from nothing
}

void TentResampler::CopyRow(const std::uint8_t* row) noexcept {
    std::uint8_t* out = bitmap_.Row(rowsSeen_);
    if (components_ == 3) {
        std::memcpy(out, row, static_cast<std::size_t>(sourceWidth_) * 3);
    } else {
        for (int x = 0; x < sourceWidth_; ++x)
            out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = row[x];
    }
}

void TentResampler::PushRow(const std::uint8_t* row) noexcept {
    if (rowsSeen_ >= sourceHeight_) return;
    if (!reduces_) {
        CopyRow(row);
        ++rowsSeen_;
        nextOutputRow_ = rowsSeen_;
        return;
    }
    AddRow(row);
    ++rowsSeen_;
    while (nextOutputRow_ < bitmap_.height &&
           rowReadyAt_[static_cast<std::size_t>(nextOutputRow_)] <= rowsSeen_) {
        ProduceRow(nextOutputRow_++);
    }
}

}  // namespace glimmora::desktop

#include "desktop/tent_resampler.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace glimmora::desktop {

TentResampler::TentResampler(int sourceWidth, int sourceHeight, int components, int outWidth,
                             int outHeight)
    : sourceWidth_(sourceWidth), sourceHeight_(sourceHeight), components_(components) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || outWidth <= 0 || outHeight <= 0 ||
        outWidth > sourceWidth || outHeight > sourceHeight || (components != 1 && components != 3)) {
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

    rowTaps_ = BuildTapList(sourceHeight, outHeight, ys, TapVariant::kRows);
    // Output rows are made in order, each as soon as the rows up to its last one have been
    // seen (and not before the row above it). The rows it needs must all still be cached.
    int readyAt = 0;
    for (const TapRecord& record : rowTaps_) {
        readyAt = std::max(readyAt, record.first + record.span);
        cacheRows_ = std::max(cacheRows_, readyAt - record.first);
    }
    cacheRowLength_ = static_cast<std::size_t>(outWidth) * static_cast<std::size_t>(components);
    cache_.assign(static_cast<std::size_t>(cacheRows_) * cacheRowLength_, 0);
    sums_.assign(cacheRowLength_, 0);
}

void TentResampler::FilterRowHorizontally(const std::uint8_t* row,
                                          std::int32_t* out) const noexcept {
    const std::int32_t* index = columnIndex_.data();
    const std::int32_t* weight = columnWeight_.data();
    const int outWidth = bitmap_.width;
    if (components_ == 3) {
        for (int x = 0; x < outWidth; ++x) {
            std::int32_t b = 0, g = 0, r = 0;
            for (std::int32_t t = columnStart_[static_cast<std::size_t>(x)],
                              end = columnStart_[static_cast<std::size_t>(x) + 1];
                 t < end; ++t) {
                const std::uint8_t* px = row + index[t];
                const std::int32_t w = weight[t];
                b += px[0] * w;
                g += px[1] * w;
                r += px[2] * w;
            }
            out[3 * x] = b;
            out[3 * x + 1] = g;
            out[3 * x + 2] = r;
        }
    } else {
        for (int x = 0; x < outWidth; ++x) {
            std::int32_t v = 0;
            for (std::int32_t t = columnStart_[static_cast<std::size_t>(x)],
                              end = columnStart_[static_cast<std::size_t>(x) + 1];
                 t < end; ++t) {
                v += row[index[t]] * weight[t];
            }
            out[x] = v;
        }
    }
}

void TentResampler::ProduceRow(int y) noexcept {
    const TapRecord& record = rowTaps_[static_cast<std::size_t>(y)];
    std::fill(sums_.begin(), sums_.end(), 0);
    std::int32_t* sums = sums_.data();
    for (std::int32_t t = 0; t < record.count; ++t) {
        const int sourceRow = record.first + record.indices[static_cast<std::size_t>(t)];
        const std::int32_t* cached =
            cache_.data() + static_cast<std::size_t>(sourceRow % cacheRows_) * cacheRowLength_;
        const std::int32_t w = record.weights[static_cast<std::size_t>(t)];
        for (std::size_t i = 0; i < cacheRowLength_; ++i) sums[i] += cached[i] * w;
    }
    std::uint8_t* out = bitmap_.Row(y);
    const int outWidth = bitmap_.width;
    for (int x = 0; x < outWidth; ++x) {
        for (int c = 0; c < 3; ++c) {
            const std::size_t i = static_cast<std::size_t>(x) * components_ + (components_ == 3 ? c : 0);
            const std::int32_t v = sums[i] / 10000;
            out[3 * x + c] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
        }
    }
}

void TentResampler::CopyRow(const std::uint8_t* row) noexcept {
    std::uint8_t* out = bitmap_.Row(rowsSeen_);
    if (components_ == 3) {
        std::memcpy(out, row, static_cast<std::size_t>(sourceWidth_) * 3);
    } else {
        for (int x = 0; x < sourceWidth_; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = row[x];
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
    std::int32_t* slot =
        cache_.data() + static_cast<std::size_t>(rowsSeen_ % cacheRows_) * cacheRowLength_;
    FilterRowHorizontally(row, slot);
    ++rowsSeen_;
    while (nextOutputRow_ < bitmap_.height) {
        const TapRecord& record = rowTaps_[static_cast<std::size_t>(nextOutputRow_)];
        if (record.first + record.span > rowsSeen_) break;
        ProduceRow(nextOutputRow_++);
    }
}

}  // namespace glimmora::desktop

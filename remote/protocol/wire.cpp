#include "remote/protocol/wire.h"

#include <algorithm>
#include <cstring>

namespace glimmora::remote {

Writer& Writer::U8(uint8_t v) {
    out_.push_back(v);
    return *this;
}

Writer& Writer::U16(uint16_t v) {
    out_.push_back(static_cast<uint8_t>(v));
    out_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
}

Writer& Writer::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
}

Writer& Writer::Str(const std::u16string& s) {
    U32(static_cast<uint32_t>(s.size()));
    for (char16_t c : s) U16(static_cast<uint16_t>(c));
    return *this;
}

Writer& Writer::Blob(const uint8_t* data, std::size_t size) {
    U32(static_cast<uint32_t>(size));
    if (size > 0) out_.insert(out_.end(), data, data + size);
    return *this;
}

bool Reader::Need(std::size_t n) {
    if (!ok_ || size_ - pos_ < n) {
        ok_ = false;
        return false;
    }
    return true;
}

uint8_t Reader::U8() {
    if (!Need(1)) return 0;
    return data_[pos_++];
}

uint16_t Reader::U16() {
    if (!Need(2)) return 0;
    uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t Reader::U32() {
    if (!Need(4)) return 0;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(data_[pos_ + i]) << (8 * i);
    pos_ += 4;
    return v;
}

std::u16string Reader::Str() {
    uint32_t count = U32();
    if (!ok_) return {};
    // Check the declared size against what is really there before reserving anything.
    if (count > kMaxStringUnits || !Need(static_cast<std::size_t>(count) * 2)) {
        ok_ = false;
        return {};
    }
    std::u16string s;
    s.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        char16_t c = static_cast<char16_t>(U16());
        if (c == 0) {
            ok_ = false;
            return {};
        }
        s.push_back(c);
    }
    return s;
}

std::vector<uint8_t> Reader::Blob(uint32_t max_size) {
    uint32_t size = U32();
    if (!ok_) return {};
    if (size > max_size || !Need(size)) {
        ok_ = false;
        return {};
    }
    std::vector<uint8_t> v(data_ + pos_, data_ + pos_ + size);
    pos_ += size;
    return v;
}

std::vector<uint8_t> MakeFrame(const std::vector<uint8_t>& body) {
    std::vector<uint8_t> frame;
    frame.reserve(kFrameHeaderSize + body.size());
    uint32_t n = static_cast<uint32_t>(body.size());
    for (int i = 0; i < 4; ++i) frame.push_back(static_cast<uint8_t>(n >> (8 * i)));
    frame.insert(frame.end(), body.begin(), body.end());
    return frame;
}

FrameDecoder::Status FrameDecoder::Feed(const uint8_t* data, std::size_t size, std::size_t* used) {
    *used = 0;
    if (broken_) return Status::kTooLarge;
    if (complete_) return Status::kFrame;
    while (header_have_ < kFrameHeaderSize) {
        if (*used == size) return Status::kNeedMore;
        header_[header_have_++] = data[(*used)++];
        if (header_have_ == kFrameHeaderSize) {
            body_size_ = static_cast<uint32_t>(header_[0]) |
                         (static_cast<uint32_t>(header_[1]) << 8) |
                         (static_cast<uint32_t>(header_[2]) << 16) |
                         (static_cast<uint32_t>(header_[3]) << 24);
            if (body_size_ > max_body_) {
                broken_ = true;
                return Status::kTooLarge;
            }
            body_.clear();
            body_.reserve(body_size_);
        }
    }
    std::size_t take = std::min<std::size_t>(size - *used, body_size_ - body_.size());
    body_.insert(body_.end(), data + *used, data + *used + take);
    *used += take;
    if (body_.size() < body_size_) return Status::kNeedMore;
    complete_ = true;
    return Status::kFrame;
}

std::vector<uint8_t> FrameDecoder::TakeFrame() {
    std::vector<uint8_t> body = std::move(body_);
    body_.clear();
    header_have_ = 0;
    body_size_ = 0;
    complete_ = false;
    return body;
}

}  // namespace glimmora::remote

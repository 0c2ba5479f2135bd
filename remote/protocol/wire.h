// Byte-level encoding of the handheld link: little-endian integers, counted UTF-16 strings,
// counted byte blobs, and the length-prefixed frames that carry them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace glimmora::remote {

// A frame body never exceeds this. It is sized for the largest single write a picture needs
// (a few MiB at most) plus headroom, so a hostile length cannot make either side allocate more.
constexpr uint32_t kMaxFrameBody = 6u << 20;
// The client splits larger writes; one frame carries at most this much file data.
constexpr uint32_t kMaxDataChunk = 4u << 20;
// Paths, registry names and command lines are far shorter; anything longer is malformed.
constexpr uint32_t kMaxStringUnits = 32767;
constexpr std::size_t kFrameHeaderSize = 4;

class Writer {
  public:
    Writer& U8(uint8_t v);
    Writer& U16(uint16_t v);
    Writer& U32(uint32_t v);
    Writer& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    Writer& Str(const std::u16string& s);
    Writer& Blob(const uint8_t* data, std::size_t size);
    Writer& Blob(const std::vector<uint8_t>& data) { return Blob(data.data(), data.size()); }

    const std::vector<uint8_t>& bytes() const { return out_; }
    std::vector<uint8_t> Take() { return std::move(out_); }

  private:
    std::vector<uint8_t> out_;
};

// Reads fields in order; the first short or invalid field makes every later read fail, so a
// decoder checks ok() once at the end instead of after each field.
class Reader {
  public:
    Reader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // Strings are NUL-free: a name with an embedded NUL would reach the Win32 call cut short,
    // naming a different file or value than the one the caller meant.
    std::u16string Str();
    std::vector<uint8_t> Blob(uint32_t max_size = kMaxFrameBody);

    bool ok() const { return ok_; }
    // True when every byte was consumed and nothing failed; trailing bytes mean a malformed
    // request, never something to ignore.
    bool Finished() const { return ok_ && pos_ == size_; }

  private:
    bool Need(std::size_t n);

    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// Prepends the 4-byte length to a body.
std::vector<uint8_t> MakeFrame(const std::vector<uint8_t>& body);

// Reassembles frames from a byte stream that arrives in arbitrary pieces. The body buffer is
// allocated only after its length has been checked against kMaxFrameBody.
class FrameDecoder {
  public:
    enum class Status { kNeedMore, kFrame, kTooLarge };

    explicit FrameDecoder(uint32_t max_body = kMaxFrameBody) : max_body_(max_body) {}

    // Consumes bytes up to the end of the next complete frame; *used tells how many.
    // After kTooLarge the stream cannot be resynchronised and the link must be closed.
    Status Feed(const uint8_t* data, std::size_t size, std::size_t* used);
    // The completed body after Feed returned kFrame; the decoder then starts the next frame.
    std::vector<uint8_t> TakeFrame();
    // Applies from the next frame header on.
    void set_max_body(uint32_t max_body) { max_body_ = max_body; }
    // True while part of a frame has been received (a link closing now cut a frame short).
    bool InFrame() const { return header_have_ > 0; }

  private:
    uint32_t max_body_;
    uint8_t header_[kFrameHeaderSize] = {};
    std::size_t header_have_ = 0;
    uint32_t body_size_ = 0;
    std::vector<uint8_t> body_;
    bool complete_ = false;
    bool broken_ = false;
};

}  // namespace glimmora::remote

// Where the picture readers get decoded rows from: the JPEG decoder in the viewer, a plain
// array of rows in tests.
#pragma once

#include <cstdint>

namespace glimmora::device {

class ScanlineSource {
  public:
    virtual ~ScanlineSource() = default;
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
    // Bytes per decoded pixel: 3 (blue, green, red), or 1, 4, ... whose first byte is grey.
    virtual int Components() const = 0;
    // Rows handed out so far; the picture row of the last NextRow() is RowsRead() - 1.
    virtual std::int32_t RowsRead() const = 0;
    // The next row, Width() x Components() bytes; nullptr when the decoder delivered no row
    // (the read then fails). With `into` (room for one row) the row may be decoded there and
    // stays valid until that buffer is used again; without it the row is valid until the
    // next call.
    virtual const std::uint8_t* NextRow(std::uint8_t* into = nullptr) = 0;
};

}  // namespace glimmora::device

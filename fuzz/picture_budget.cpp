#include "fuzz/picture_budget.h"

#include <cstdio>
#include <cstring>

#include "common/jpeg_errors.h"
#include "handoff/picture_limits.h"

namespace glimmora::fuzz {

namespace {

// Runs guarded, so it holds only plain data.
bool ReadSize(jpeg_decompress_struct* cinfo, const std::uint8_t* data, std::size_t size,
              std::uint32_t* width, std::uint32_t* height) {
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
    *width = cinfo->image_width;
    *height = cinfo->image_height;
    return true;
}

}  // namespace

bool WorthDecoding(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return true;
    JpegErrors errors;
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = UseJpegErrors(errors);
    std::uint32_t width = 0, height = 0;
    bool read = false;
    {
        const DecompressorOwner owner(&cinfo);
        const auto readSize = [&] { read = ReadSize(&cinfo, data, size, &width, &height); };
        if (!JpegGuarded(errors, readSize) || !read) return true;
    }
    const std::uint64_t pixels = std::uint64_t{width} * height;
    return pixels <= kDecodeBudgetPixels || handoff::HasTooManyPixels(width, height);
}

}  // namespace glimmora::fuzz

#include "fuzz/picture_budget.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "handoff/picture_limits.h"

namespace glimmora::fuzz {

namespace {

struct PeekErrors {
    jpeg_error_mgr manager;  // first, so the library's pointer is also ours
    std::jmp_buf jump;
};

void OnFatalError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<PeekErrors*>(cinfo->err)->jump, 1);
}
void Quiet(j_common_ptr) {}

// Holds only plain data: a fatal error jumps back into it.
bool ReadSize(jpeg_decompress_struct* cinfo, PeekErrors* errors, const std::uint8_t* data,
              std::size_t size, std::uint32_t* width, std::uint32_t* height) {
    if (setjmp(errors->jump) != 0) return false;
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
    PeekErrors errors;
    std::memset(&errors, 0, sizeof errors);
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnFatalError;
    errors.manager.output_message = Quiet;
    std::uint32_t width = 0, height = 0;
    const bool read = ReadSize(&cinfo, &errors, data, size, &width, &height);
    jpeg_destroy_decompress(&cinfo);
    if (!read) return true;
    const std::uint64_t pixels = std::uint64_t{width} * height;
    return pixels <= kDecodeBudgetPixels || handoff::HasTooManyPixels(width, height);
}

}  // namespace glimmora::fuzz

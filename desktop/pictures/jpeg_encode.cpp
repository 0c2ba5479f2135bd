#include "desktop/pictures/jpeg_encode.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/jpeg_errors.h"

#include <jerror.h>

namespace glimmora::desktop {

namespace {

// The output bytes. Kept outside the library's reach so that they are freed exactly once
// whatever happens (the library's own memory destination forgets its grown buffer when an
// error comes between growing and finishing).
struct MemoryBuffer {
    MemoryBuffer() = default;
    ~MemoryBuffer() { std::free(data); }
    MemoryBuffer(const MemoryBuffer&) = delete;
    MemoryBuffer& operator=(const MemoryBuffer&) = delete;

    unsigned char* data = nullptr;
    std::size_t capacity = 0;
    std::size_t size = 0;
};

struct MemoryDestination {
    jpeg_destination_mgr manager;  // first, so the library's pointer is also ours
    MemoryBuffer* buffer;
};

constexpr std::size_t kFirstBufferBytes = 64 * 1024;

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    MemoryBuffer* buffer = dest->buffer;
    buffer->data = static_cast<unsigned char*>(std::malloc(kFirstBufferBytes));
    if (!buffer->data) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    buffer->capacity = kFirstBufferBytes;
    dest->manager.next_output_byte = buffer->data;
    dest->manager.free_in_buffer = buffer->capacity;
}

// Called when the buffer is full: double it. On failure the old buffer stays valid and owned.
boolean GrowDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    MemoryBuffer* buffer = dest->buffer;
    const std::size_t used = buffer->capacity;
    auto* grown = static_cast<unsigned char*>(std::realloc(buffer->data, used * 2));
    if (!grown) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    buffer->data = grown;
    buffer->capacity = used * 2;
    dest->manager.next_output_byte = grown + used;
    dest->manager.free_in_buffer = buffer->capacity - used;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    dest->buffer->size = dest->buffer->capacity - dest->manager.free_in_buffer;
}

// Makes every libjpeg call of one encode; plain data only, as a fatal error jumps out of it.
void Compress(jpeg_compress_struct* cinfo, const Bitmap24* bitmap, MemoryDestination* dest) {
    jpeg_create_compress(cinfo);
    cinfo->dest = &dest->manager;
    cinfo->image_width = static_cast<JDIMENSION>(bitmap->width);
    cinfo->image_height = static_cast<JDIMENSION>(bitmap->height);
    cinfo->input_components = 3;
    // The compressor reads the bitmap's blue, green, red bytes as they are; set before the
    // defaults so that they choose YCbCr (and a JFIF header) for it.
    cinfo->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, kHandheldJpegQuality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bitmap->Row(static_cast<int>(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Bitmap24& bitmap) {
    if (bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.pixels.size() < bitmap.stride * static_cast<std::size_t>(bitmap.height) ||
        bitmap.stride < static_cast<std::size_t>(bitmap.width) * 3) {
        return {};
    }
    // A compressor warning does not stop the encode; it is only recorded.
    JpegErrors errors;
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = UseJpegErrors(errors);

    MemoryBuffer buffer;
    MemoryDestination dest;
    std::memset(&dest, 0, sizeof dest);
    dest.manager.init_destination = InitDestination;
    dest.manager.empty_output_buffer = GrowDestination;
    dest.manager.term_destination = TermDestination;
    dest.buffer = &buffer;
    const CompressorOwner owner(&cinfo);
    if (!JpegGuarded(errors, [&] { Compress(&cinfo, &bitmap, &dest); }) || buffer.size == 0)
        return {};
    return std::vector<std::uint8_t>(buffer.data, buffer.data + buffer.size);
}

}  // namespace glimmora::desktop

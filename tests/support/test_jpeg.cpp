#include "tests/support/test_jpeg.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include <jpeglib.h>

namespace glimmora::test {

namespace {
// Only reached for pictures the tests made themselves: a broken helper, not a result, and
// libjpeg must not return to the caller after an error.
void AbortOnError(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::fprintf(stderr, "jpeg test helper: %s\n", text);
    std::abort();
}
}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Picture& picture, ColourOrder order) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = AbortOnError;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = picture.components;
    cinfo.in_color_space = picture.components == 1   ? JCS_GRAYSCALE
                           : picture.components == 4 ? JCS_CMYK
                           : order == kBgr           ? JCS_EXT_BGR
                                                     : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * picture.components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.pixels.data() + cinfo.next_scanline * rowBytes);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}

Picture DecodeJpeg(const std::vector<std::uint8_t>& jpeg, ColourOrder order) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = AbortOnError;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (order == kBgr && cinfo.out_color_space == JCS_RGB) cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    Picture p;
    p.width = static_cast<int>(cinfo.output_width);
    p.height = static_cast<int>(cinfo.output_height);
    p.components = cinfo.output_components;
    const std::size_t rowBytes = static_cast<std::size_t>(p.width) * p.components;
    p.pixels.resize(rowBytes * p.height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = p.pixels.data() + cinfo.output_scanline * rowBytes;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return p;
}

Picture NoisyGradient(int width, int height, int components, unsigned seed) {
    Picture p{width, height, components, {}};
    p.pixels.resize(static_cast<std::size_t>(width) * height * components);
    std::mt19937 random(seed);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                const int v = (x * (3 + c) + y * (5 - c)) % 256 + static_cast<int>(random() % 32);
                p.pixels[i++] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
            }
        }
    }
    return p;
}

Picture CheckeredGradient(int width, int height, int components, unsigned seed) {
    Picture p{width, height, components, {}};
    p.pixels.resize(static_cast<std::size_t>(width) * height * components);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                const unsigned checker = ((x / 3 + y / 2 + c) & 1) ? 40u : 0u;
                const unsigned v = (x * 255u / (width > 1 ? width - 1 : 1) * (c + 1) +
                                    y * 255u / (height > 1 ? height - 1 : 1) * (3 - c) / 3 +
                                    checker + seed * 17u * (c + 1)) %
                                   256u;
                p.pixels[i++] = static_cast<std::uint8_t>(v);
            }
        }
    }
    return p;
}

std::vector<std::uint8_t> WithAnnouncedSize(std::vector<std::uint8_t> jpeg, unsigned width,
                                            unsigned height) {
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // frame header: height, width at +5
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return jpeg;
        }
    }
    throw std::runtime_error("no baseline frame header");
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) throw std::runtime_error("cannot write " + path);
}

}  // namespace glimmora::test

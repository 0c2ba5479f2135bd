// Small deterministic JPEGs made with the library's compressor, and a bare decode of them,
// so that tests can work out the pixels they expect themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace glimmora::test {

// How the three components of a colour pixel lie in memory. The handheld's bitmaps are
// blue, green, red; the desktop's decoder hands out red, green, blue. Grey (1 component)
// and CMYK (4) pictures are the same either way.
enum ColourOrder { kRgb, kBgr };

struct Picture {
    int width = 0;
    int height = 0;
    int components = 0;                // 1 grey, 3 colour (in the order the caller chose), 4 CMYK
    std::vector<std::uint8_t> pixels;  // rows top-down, width * components bytes each

    const std::uint8_t* Pixel(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * components;
    }
};

// Baseline JPEG at quality 95.
std::vector<std::uint8_t> EncodeJpeg(const Picture& picture, ColourOrder order);

// Full-resolution decode with the library's default settings apart from the colour order.
Picture DecodeJpeg(const std::vector<std::uint8_t>& jpeg, ColourOrder order);

// Two different patterns, both kept, so every test keeps the input it was written against.
// Gradients plus a little noise: smooth enough to look like a photo, varied enough that a
// misplaced filter tap changes the result.
Picture NoisyGradient(int width, int height, int components, unsigned seed);
// Gradients and a checker, without noise: every component differs from its neighbours.
Picture CheckeredGradient(int width, int height, int components, unsigned seed = 1);

// The file with the width and height of its baseline frame header (as EncodeJpeg writes it)
// replaced: a few hundred bytes that announce a picture of any size.
std::vector<std::uint8_t> WithAnnouncedSize(std::vector<std::uint8_t> jpeg, unsigned width,
                                            unsigned height);

// Throws std::runtime_error when the file cannot be written in full.
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace glimmora::test

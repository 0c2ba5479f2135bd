// Small deterministic JPEGs made with the library's compressor, and a bare decode of them,
// so that loader tests can work out expected pixels themselves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glimmora::device::testing {

struct Picture {
    int width = 0;
    int height = 0;
    int components = 0;  // 3: blue, green, red; 1: grey; 4: CMYK
    std::vector<std::uint8_t> pixels;  // rows top-down, width * components bytes each

    const std::uint8_t* Pixel(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * components;
    }
};

// A smooth but varied picture (gradients and a checker) in the given component count.
Picture MakePattern(int width, int height, int components, unsigned seed = 1);

// Encodes at quality 95 (3 components are taken as blue, green, red).
std::vector<std::uint8_t> EncodeJpeg(const Picture& picture);

// Full-resolution decode with the settings the viewer uses (colour as blue, green, red).
Picture DecodeJpeg(const std::vector<std::uint8_t>& jpeg);

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace glimmora::device::testing

#include "tools/glimmora-picture/bmp_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace glimmora::tool {

namespace {
void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

bool WriteBmp24(const std::string& path, int width, int height,
                const std::function<const std::uint8_t*(int y)>& rowTopDown, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "empty bitmap";
        return false;
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(height);
    if (imageSize > 0x7fffffffu - 54) {
        error = "bitmap too large for a BMP file";
        return false;
    }
    std::vector<std::uint8_t> header;
    header.push_back('B');
    header.push_back('M');
    PutLe(header, static_cast<std::uint32_t>(54 + imageSize), 4);
    PutLe(header, 0, 4);
    PutLe(header, 54, 4);
    PutLe(header, 40, 4);  // BITMAPINFOHEADER
    PutLe(header, static_cast<std::uint32_t>(width), 4);
    PutLe(header, static_cast<std::uint32_t>(height), 4);  // positive: bottom-up
    PutLe(header, 1, 2);
    PutLe(header, 24, 2);
    PutLe(header, 0, 4);  // BI_RGB
    PutLe(header, static_cast<std::uint32_t>(imageSize), 4);
    PutLe(header, 2835, 4);  // 72 dpi
    PutLe(header, 2835, 4);
    PutLe(header, 0, 4);
    PutLe(header, 0, 4);

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = height - 1; ok && y >= 0; --y) {
        std::memcpy(row.data(), rowTopDown(y), static_cast<std::size_t>(width) * 3);
        ok = std::fwrite(row.data(), 1, row.size(), file.get()) == row.size();
    }
    if (std::fclose(file.release()) != 0) ok = false;
    if (!ok) {
        error = std::strerror(errno);
        std::remove(path.c_str());
        return false;
    }
    return true;
}

}  // namespace glimmora::tool

// Small JPEGs made by the tests themselves, and a plain reference decode to compare with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glimmora::desktop::test {

struct Picture {
    int width = 0;
    int height = 0;
    int components = 0;  // 1 grey, 3 red-green-blue
    std::vector<std::uint8_t> pixels;
};

// Encodes with libjpeg's compressor: baseline, the given quality.
std::vector<std::uint8_t> EncodeJpeg(const Picture& picture, int quality = 95);
// Decodes with the library's default parameters (red, green, blue for colour).
Picture DecodeJpeg(const std::vector<std::uint8_t>& bytes);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A picture with varied content that stays the same from run to run.
Picture PatternPicture(int width, int height, int components, unsigned seed);

// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // With the platform's separator at the end.
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

}  // namespace glimmora::desktop::test

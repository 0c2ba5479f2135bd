// Small helpers the fuzz targets share: turning raw input into the shapes the readers take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace glimmora::fuzz {

// Input bytes read as little-endian UTF-16 units, as Windows programs receive text; an odd
// last byte is dropped. Units pass through unchanged, surrogates and NULs included.
template <typename String>
String Utf16Units(const std::uint8_t* data, std::size_t size) {
    String text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<typename String::value_type>(data[i] | (data[i + 1] << 8)));
    return text;
}

// The readers of pictures take a path, so every input is written to one file of this
// process first (in memory where the system offers it).
class InputFile {
public:
    InputFile() {
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        path_ = std::string(dir) + "/glimmora-fuzz-" + std::to_string(getpid()) + ".jpg";
    }
    ~InputFile() { std::remove(path_.c_str()); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& Write(const std::uint8_t* data, std::size_t size) {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) ||
            std::fclose(file) != 0) {
            std::perror(path_.c_str());
            std::abort();  // a broken harness, not a finding
        }
        return path_;
    }

private:
    std::string path_;
};

}  // namespace glimmora::fuzz

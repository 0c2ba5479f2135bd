// Small helpers the fuzz targets share: turning raw input into the shapes the readers take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <unistd.h>

namespace glimmora::fuzz {

// Stops the run when a rule of the reader is broken, so that the input is kept as a finding.
inline void Require(bool holds, const char* reader, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "%s: %s\n", reader, what);
    std::abort();
}

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

// An input that takes more than two seconds of CPU time is a hang. The fuzzer's own limit is
// on the wall clock, which on a shared machine (the runs are niced) stops at inputs that were
// merely starved; scripts/fuzz sets that limit high and leaves the judgement to this check.
class CpuLimit {
  public:
    static constexpr double kSeconds = 2.0;
    CpuLimit() : start_(Now()) {}
    ~CpuLimit() {
        const double used = Now() - start_;
        if (used > kSeconds) {
            std::fprintf(stderr, "hang: one input took %.2f s of CPU time\n", used);
            std::abort();
        }
    }
    CpuLimit(const CpuLimit&) = delete;
    CpuLimit& operator=(const CpuLimit&) = delete;

  private:
    static double Now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
    double start_;
};

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

// How LoadPicture compares with a bare libjpeg decode of the same large photo, and how much
// memory it needs, for a 240 x 320 handheld screen.
//
//   device_load_picture_bench [WORK_FOLDER]
//
// Makes (or reuses) baseline JPEG photos of 6000 x 4000 and 6000 x 16000 pixels in
// WORK_FOLDER (default: the current folder). Every measurement runs in a fresh child process;
// times are the best of several runs, memory is the peak of heap bytes live during the load
// above what was live before it (malloc/free counted in the child) and the growth of the
// child's peak resident set (getrusage).
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/device/heap_counter.h"
#include "bench/support/child_measure.h"
#include "bench/support/photo_jpeg.h"
#include "device/pictures/device_bitmap.h"
#include "device/pictures/picture_loader.h"
#include "device/pictures/utf8.h"

namespace {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kRuns = 5;

struct Measure {
    double seconds = 0;
    double peakHeapBytes = 0;
    double rssGrowthBytes = 0;
    int ok = 0;
};

// A photo-like picture: smooth colour fields, fine texture and some noise, so the decoder
// has real work on every block.
bool MakePhoto(const std::string& path, int width, int height) {
    std::vector<int> column(static_cast<std::size_t>(width) * 3);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c)
            column[x * 3 + c] = static_cast<int>(60 * std::sin(x * (0.002 + 0.001 * c)) +
                                                 25 * std::sin(x * 0.09 + c));
    std::uint32_t noise = 12345;
    return glimmora::bench::WritePhotoJpeg(path, width, height, [&](int y, std::uint8_t* row) {
        int rowTerm[3];
        for (int c = 0; c < 3; ++c)
            rowTerm[c] = static_cast<int>(128 + 50 * std::sin(y * (0.0015 + 0.0007 * c)) +
                                          20 * std::sin(y * 0.07 - c));
        for (int i = 0; i < width * 3; ++i) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int v = rowTerm[i % 3] + column[i] + static_cast<int>(noise % 17) - 8;
            row[i] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
    });
}

bool HasPhoto(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

// The viewer's colour order, so only the fitting makes the difference.
bool BareDecode(const std::string& path) {
    return glimmora::bench::BareDecode(path, glimmora::bench::kBgr);
}

bool ViewerLoad(const std::string& path) {
    glimmora::device::DeviceBitmap bitmap;
    const std::wstring wide = glimmora::device::Utf8ToWide(path);
    return glimmora::device::LoadPicture(bitmap, wide.c_str(), kScreenWidth, kScreenHeight,
                                         glimmora::device::kNormal, false);
}

// Runs `work` in a fresh child process and returns what it measured there.
Measure InChild(bool (*work)(const std::string&), const std::string& path) {
    using glimmora::bench::MaxRssKb;
    std::string output;
    const bool ran = glimmora::bench::RunInChild(
        [&](int writeFd) {
            Measure m;
            const long rssBefore = MaxRssKb();
            glimmora::bench::ResetHeapPeak();
            const std::size_t liveBefore = glimmora::bench::HeapLiveBytes();
            m.seconds = glimmora::bench::SecondsTaken([&] { m.ok = work(path) ? 1 : 0; });
            m.peakHeapBytes = static_cast<double>(glimmora::bench::HeapPeakBytes() - liveBefore);
            m.rssGrowthBytes = static_cast<double>(MaxRssKb() - rssBefore) * 1024.0;
            return write(writeFd, &m, sizeof m) == static_cast<ssize_t>(sizeof m) ? 0 : 1;
        },
        output);
    Measure m;
    if (ran && output.size() == sizeof m) std::memcpy(&m, output.data(), sizeof m);
    return m;
}

struct Result {
    double load = 1e9;
    double bare = 1e9;
    double peakHeap = 0;
    double rssGrowth = 0;
    bool ok = true;
};

Result Run(const std::string& path) {
    Result r;
    for (int i = 0; i < kRuns; ++i) {
        const Measure bare = InChild(&BareDecode, path);
        const Measure load = InChild(&ViewerLoad, path);
        r.ok = r.ok && bare.ok && load.ok;
        r.bare = std::min(r.bare, bare.seconds);
        r.load = std::min(r.load, load.seconds);
        r.peakHeap = std::max(r.peakHeap, load.peakHeapBytes);
        r.rssGrowth = std::max(r.rssGrowth, load.rssGrowthBytes);
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    struct Photo {
        int width, height;
    };
    const Photo photos[] = {{6000, 4000}, {6000, 16000}};
    std::printf("LoadPicture benchmark: %d x %d screen, orientation Normal, no Fit to Screen\n",
                kScreenWidth, kScreenHeight);
    std::printf("times: best of %d runs, each in a fresh child process (file already cached)\n",
                kRuns);
    std::printf(
        "memory: peak heap bytes live during the load above those live before it,\n"
        "        counted by a malloc/free stand-in in the child (libjpeg, the filter and\n"
        "        the bitmap included); and growth of the child's peak RSS (getrusage)\n\n");
    std::vector<Result> results;
    for (const Photo& photo : photos) {
        const std::string path = folder + "/bench_photo_" + std::to_string(photo.width) + "x" +
                                 std::to_string(photo.height) + ".jpg";
        if (!HasPhoto(path)) {
            std::printf("making %s ...\n", path.c_str());
            std::fflush(stdout);
            if (!MakePhoto(path, photo.width, photo.height)) {
                std::fprintf(stderr, "device_load_picture_bench: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        BareDecode(path);  // brings the file into the page cache for both contenders
        const Result r = Run(path);
        if (!r.ok) {
            std::fprintf(stderr, "device_load_picture_bench: %s did not load\n", path.c_str());
            return 1;
        }
        std::printf("photo %d x %d (%s)\n", photo.width, photo.height, path.c_str());
        std::printf("  LoadPicture for %d x %d : %8.3f s\n", kScreenWidth, kScreenHeight, r.load);
        std::printf("  bare full decode        : %8.3f s\n", r.bare);
        std::printf("  ratio                   : %8.3f  (target <= 1.25)\n", r.load / r.bare);
        std::printf("  peak heap of the load   : %8.3f MB\n", r.peakHeap / 1e6);
        std::printf("  peak RSS growth         : %8.3f MB\n\n", r.rssGrowth / 1e6);
        results.push_back(r);
    }
    std::printf("peak heap, 6000 x 16000 minus 6000 x 4000: %.3f MB (target < 2 MB)\n",
                (results[1].peakHeap - results[0].peakHeap) / 1e6);
    std::printf("peak RSS growth, 6000 x 16000 minus 6000 x 4000: %.3f MB\n",
                (results[1].rssGrowth - results[0].rssGrowth) / 1e6);
    return 0;
}

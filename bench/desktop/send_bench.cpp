// What sending one large photo costs on the desktop: decode, tent filter and re-encode for a
// 240 x 320 handheld, against a bare full-resolution decode of the same file in the same run;
// and how much memory the fit needs for a 6000 x 4000 and a 6000 x 16000 picture.
//
// Peak memory is the growth of the peak resident set size (getrusage ru_maxrss) while one
// fit and encode run in a fresh child process (this program started again), so nothing of
// the parent's picture generation is counted.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/support/child_measure.h"
#include "bench/support/photo_jpeg.h"
#include "desktop/pictures/jpeg_encode.h"
#include "desktop/pictures/picture_fit.h"

namespace {

using glimmora::bench::BareDecode;
using glimmora::bench::BestSeconds;
using glimmora::bench::MaxRssKb;

// A photo-like picture: smooth gradients with fine texture.
bool WritePhoto(const std::string& path, int width, int height) {
    unsigned noise = 12345;
    return glimmora::bench::WritePhotoJpeg(path, width, height, [&](int y, std::uint8_t* row) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = static_cast<int>((noise >> 16) & 15);
            row[3 * x] = static_cast<std::uint8_t>((x * 255 / width + n) & 255);
            row[3 * x + 1] = static_cast<std::uint8_t>((y * 255 / height + n) & 255);
            row[3 * x + 2] = static_cast<std::uint8_t>(((x + y) / 16 + n) & 255);
        }
    });
}

std::size_t Send(const std::string& path) {
    const auto bitmap = glimmora::desktop::FitPicture(path, 240, 320);
    if (!bitmap) {
        std::fprintf(stderr, "send_bench: %s could not be fitted\n", path.c_str());
        std::exit(1);
    }
    return glimmora::desktop::EncodeJpeg(*bitmap).size();
}

// Child mode: one fit and encode, then the growth of the peak resident set in KiB.
int MeasureChild(const std::string& path) {
    const long before = MaxRssKb();
    Send(path);
    std::printf("%ld\n", MaxRssKb() - before);
    return 0;
}

long PeakGrowthKb(const char* self, const std::string& path) {
    std::string output;
    const bool ran = glimmora::bench::RunInChild(
        [&](int writeFd) {
            dup2(writeFd, STDOUT_FILENO);
            close(writeFd);
            execl(self, self, "--measure", path.c_str(), static_cast<char*>(nullptr));
            return 127;
        },
        output);
    if (!ran || output.empty()) return -1;
    return std::strtol(output.c_str(), nullptr, 10);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--measure") == 0) return MeasureChild(argv[2]);

    char folderTemplate[] = "/tmp/glimmora-send-bench-XXXXXX";
    const char* folder = mkdtemp(folderTemplate);
    if (!folder) return 1;
    const std::string photo = std::string(folder) + "/photo-6000x4000.jpg";
    const std::string tall = std::string(folder) + "/photo-6000x16000.jpg";
    std::printf("making test photos in %s ...\n", folder);
    if (!WritePhoto(photo, 6000, 4000) || !WritePhoto(tall, 6000, 16000)) return 1;

    // The library's default output order; the first decode warms the file cache for both.
    if (!BareDecode(photo, glimmora::bench::kRgb)) return 1;
    const double decode = BestSeconds(3, [&] { BareDecode(photo, glimmora::bench::kRgb); });
    std::size_t bytes = 0;
    const double send = BestSeconds(3, [&] { bytes = Send(photo); });
    std::printf("6000 x 4000 photo, screen 240 x 320 (best of 3 runs)\n");
    std::printf("  bare full-resolution decode : %8.1f ms\n", decode * 1000);
    std::printf("  send (decode, fit, encode)  : %8.1f ms  (%zu bytes of JPEG)\n", send * 1000,
                bytes);
    std::printf("  ratio send / decode         : %8.3f  (target <= 1.3)\n", send / decode);

    const long small = PeakGrowthKb("/proc/self/exe", photo);
    const long large = PeakGrowthKb("/proc/self/exe", tall);
    std::printf(
        "peak memory growth of one fit and encode (getrusage ru_maxrss, fresh child each)\n");
    std::printf("  6000 x 4000  : %8ld KiB\n", small);
    std::printf("  6000 x 16000 : %8ld KiB\n", large);
    std::printf("  difference   : %8ld KiB  (target < 2048)\n", large - small);

    std::remove(photo.c_str());
    std::remove(tall.c_str());
    rmdir(folder);
    return 0;
}

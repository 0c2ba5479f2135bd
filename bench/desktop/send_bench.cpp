// What sending one large photo costs on the desktop: decode, tent filter and re-encode for a
// 240 x 320 handheld, against a bare full-resolution decode of the same file in the same run;
// and how much memory the fit needs for a 6000 x 4000 and a 6000 x 16000 picture.
//
// Peak memory is the growth of the peak resident set size (getrusage ru_maxrss) while one
// fit and encode run in a fresh child process (this program started again), so nothing of
// the parent's picture generation is counted.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "desktop/jpeg_encode.h"
#include "desktop/picture_fit.h"

namespace {

using Clock = std::chrono::steady_clock;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// A photo-like picture: smooth gradients with fine texture, encoded at quality 90.
bool WritePhoto(const std::string& path, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
    unsigned noise = 12345;
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = static_cast<int>((noise >> 16) & 15);
            row[3 * x] = static_cast<JSAMPLE>((x * 255 / width + n) & 255);
            row[3 * x + 1] = static_cast<JSAMPLE>((y * 255 / height + n) & 255);
            row[3 * x + 2] = static_cast<JSAMPLE>(((x + y) / 16 + n) & 255);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

// Full-resolution decode with default parameters, one scanline per read, rows discarded.
void BareDecode(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) std::exit(1);
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    JSAMPARRAY line = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                 cinfo.output_width * cinfo.output_components, 1);
    while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, line, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
}

std::size_t Send(const std::string& path) {
    const auto bitmap = glimmora::desktop::FitPicture(path, 240, 320);
    if (!bitmap) {
        std::fprintf(stderr, "send_bench: %s could not be fitted\n", path.c_str());
        std::exit(1);
    }
    return glimmora::desktop::EncodeJpeg(*bitmap).size();
}

template <typename F>
double BestSeconds(int runs, F&& f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

long MaxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Child mode: one fit and encode, then the growth of the peak resident set in KiB.
int MeasureChild(const std::string& path) {
    const long before = MaxRssKb();
    Send(path);
    std::printf("%ld\n", MaxRssKb() - before);
    return 0;
}

long PeakGrowthKb(const char* self, const std::string& path) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        execl(self, self, "--measure", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[64] = {};
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer - 1);
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::strtol(buffer, nullptr, 10);
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

    BareDecode(photo);  // warm the file cache for both measurements
    const double decode = BestSeconds(3, [&] { BareDecode(photo); });
    std::size_t bytes = 0;
    const double send = BestSeconds(3, [&] { bytes = Send(photo); });
    std::printf("6000 x 4000 photo, screen 240 x 320 (best of 3 runs)\n");
    std::printf("  bare full-resolution decode : %8.1f ms\n", decode * 1000);
    std::printf("  send (decode, fit, encode)  : %8.1f ms  (%zu bytes of JPEG)\n", send * 1000, bytes);
    std::printf("  ratio send / decode         : %8.3f  (target <= 1.3)\n", send / decode);

    const long small = PeakGrowthKb("/proc/self/exe", photo);
    const long large = PeakGrowthKb("/proc/self/exe", tall);
    std::printf("peak memory growth of one fit and encode (getrusage ru_maxrss, fresh child each)\n");
    std::printf("  6000 x 4000  : %8ld KiB\n", small);
    std::printf("  6000 x 16000 : %8ld KiB\n", large);
    std::printf("  difference   : %8ld KiB  (target < 2048)\n", large - small);

    std::remove(photo.c_str());
    std::remove(tall.c_str());
    rmdir(folder);
    return 0;
}

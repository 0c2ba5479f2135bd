// glimmora-picture send: the JPEG the desktop would send to a handheld with a given screen.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/jpeg_encode.h"
#include "desktop/picture_fit.h"
#include "tools/glimmora-picture/command_registry.h"

namespace {

using namespace glimmora;

constexpr const char* kUsage = "PICTURE.jpg SCREEN_WIDTH SCREEN_HEIGHT OUT.jpg";

constexpr const char* kUsageNotes =
    "  SCREEN_WIDTH, SCREEN_HEIGHT: 0-65535 pixels of the handheld's screen (0: no reduction)\n";

int Fail(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "glimmora-picture: %s: %s\n", file.c_str(), reason.c_str());
    return tool::kExitPictureFailed;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

int Run(const std::vector<std::string>& args) {
    long width = 0, height = 0;
    if (args.size() != 4 || !tool::ParseInt(args[1], 0, 65535, width) ||
        !tool::ParseInt(args[2], 0, 65535, height)) {
        std::fprintf(stderr, "usage: glimmora-picture send %s\n%s", kUsage, kUsageNotes);
        return tool::kExitUsage;
    }
    const std::string& picture = args[0];
    const std::string& output = args[3];
    // Opened here first only to name the system's reason when the file cannot be read.
    if (std::FILE* probe = std::fopen(picture.c_str(), "rb")) {
        std::fclose(probe);
    } else {
        return Fail(picture, std::strerror(errno));
    }
    desktop::FitReport report;
    const std::optional<desktop::Bitmap24> bitmap =
        desktop::FitPicture(picture, static_cast<int>(width), static_cast<int>(height), &report);
    if (!bitmap) {
        return Fail(picture, "not a picture the desktop can send: " + report.reason);
    }
    if (report.decodeWarned) {
        // The desktop sends such pictures as they decode; say so, but it is no failure.
        std::fprintf(stderr, "glimmora-picture: %s: decoder warning (picture kept): %s\n",
                     picture.c_str(), report.reason.c_str());
    }
    const std::vector<std::uint8_t> jpeg = desktop::EncodeJpeg(*bitmap);
    if (jpeg.empty()) return Fail(picture, "the reduced picture could not be encoded");

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(output.c_str(), "wb"));
    if (!file) return Fail(output, std::string("cannot write: ") + std::strerror(errno));
    bool ok = std::fwrite(jpeg.data(), 1, jpeg.size(), file.get()) == jpeg.size();
    if (std::fclose(file.release()) != 0) ok = false;
    if (!ok) {
        const std::string reason = std::strerror(errno);
        std::remove(output.c_str());
        return Fail(output, "cannot write: " + reason);
    }
    return tool::kExitOk;
}

tool::CommandRegistration reg({"send", kUsage,
                               "writes the JPEG the desktop would send to a handheld with that "
                               "screen (baseline, quality 90)",
                               &Run});

}  // namespace

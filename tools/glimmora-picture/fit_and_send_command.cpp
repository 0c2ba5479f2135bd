// glimmora-picture fit and send: what the desktop makes of a picture for a given handheld
// screen, as the reduced bitmap (fit) or as the JPEG it would write to the handheld (send).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/pictures/jpeg_encode.h"
#include "desktop/pictures/picture_fit.h"
#include "tools/glimmora-picture/bmp_file.h"
#include "tools/glimmora-picture/command_registry.h"

namespace glimmora::tool {
namespace {

constexpr const char* kFitUsage = "PICTURE.jpg SCREEN_WIDTH SCREEN_HEIGHT OUT.bmp";
constexpr const char* kSendUsage = "PICTURE.jpg SCREEN_WIDTH SCREEN_HEIGHT OUT.jpg";
constexpr const char* kUsageNotes =
    "  SCREEN_WIDTH, SCREEN_HEIGHT: 0-65535 pixels of the handheld's screen (0: no reduction)\n";

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The arguments both commands take: the picture, the screen, and where the result goes.
struct FitRequest {
    std::string picture;
    int screenWidth = 0;
    int screenHeight = 0;
    std::string output;
};

std::optional<FitRequest> ParseRequest(const std::vector<std::string>& args, const char* name,
                                       const char* usage) {
    long width = 0, height = 0;
    if (args.size() != 4 || !ParseInt(args[1], 0, 65535, width) ||
        !ParseInt(args[2], 0, 65535, height)) {
        std::fprintf(stderr, "usage: glimmora-picture %s %s\n%s", name, usage, kUsageNotes);
        return std::nullopt;
    }
    return FitRequest{args[0], static_cast<int>(width), static_cast<int>(height), args[3]};
}

// FitPicture as the desktop session runs it; on failure the reason is already printed and
// `status` holds the exit status.
std::optional<desktop::Bitmap24> Fit(const FitRequest& request, int& status) {
    desktop::FitReport report;
    std::optional<desktop::Bitmap24> bitmap =
        desktop::FitPicture(request.picture, request.screenWidth, request.screenHeight, &report);
    if (!bitmap) {
        // Opened again only to name the system's reason when the file cannot be read.
        std::FILE* probe = std::fopen(request.picture.c_str(), "rb");
        const int error = errno;
        if (probe) std::fclose(probe);
        status = probe
                     ? Fail(request.picture, "not a picture the desktop can send: " + report.reason)
                     : Fail(request.picture, std::strerror(error));
        return std::nullopt;
    }
    if (report.decodeWarned) {
        // The desktop sends such pictures as they decode; say so, but it is no failure.
        std::fprintf(stderr, "glimmora-picture: %s: decoder warning (picture kept): %s\n",
                     request.picture.c_str(), report.reason.c_str());
    }
    return bitmap;
}

int RunFit(const std::vector<std::string>& args) {
    const std::optional<FitRequest> request = ParseRequest(args, "fit", kFitUsage);
    if (!request) return kExitUsage;
    int status = kExitOk;
    const std::optional<desktop::Bitmap24> bitmap = Fit(*request, status);
    if (!bitmap) return status;
    std::string error;
    if (!WriteBmp24(
            request->output, bitmap->width, bitmap->height, [&](int y) { return bitmap->Row(y); },
            error)) {
        return Fail(request->output, "cannot write: " + error);
    }
    return kExitOk;
}

int RunSend(const std::vector<std::string>& args) {
    const std::optional<FitRequest> request = ParseRequest(args, "send", kSendUsage);
    if (!request) return kExitUsage;
    int status = kExitOk;
    const std::optional<desktop::Bitmap24> bitmap = Fit(*request, status);
    if (!bitmap) return status;
    const std::vector<std::uint8_t> jpeg = desktop::EncodeJpeg(*bitmap);
    if (jpeg.empty()) return Fail(request->picture, "the reduced picture could not be encoded");

    const std::string& output = request->output;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(output.c_str(), "wb"));
    if (!file) return Fail(output, std::string("cannot write: ") + std::strerror(errno));
    bool ok = std::fwrite(jpeg.data(), 1, jpeg.size(), file.get()) == jpeg.size();
    if (std::fclose(file.release()) != 0) ok = false;
    if (!ok) {
        const std::string reason = std::strerror(errno);
        std::remove(output.c_str());
        return Fail(output, "cannot write: " + reason);
    }
    return kExitOk;
}

CommandRegistration fit({"fit", kFitUsage,
                         "writes the bitmap the desktop reduces PICTURE to for that handheld "
                         "screen (24-bit BMP)",
                         &RunFit});
CommandRegistration send({"send", kSendUsage,
                          "writes the JPEG the desktop would send to a handheld with that "
                          "screen (baseline, quality 90)",
                          &RunSend});

}  // namespace
}  // namespace glimmora::tool

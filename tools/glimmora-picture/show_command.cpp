// glimmora-picture show: what the handheld viewer puts on its screen for a picture, as a BMP.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "device/pictures/device_bitmap.h"
#include "device/pictures/jpeg_message.h"
#include "device/pictures/picture_loader.h"
#include "device/pictures/utf8.h"
#include "tools/glimmora-picture/bmp_file.h"
#include "tools/glimmora-picture/command_registry.h"

namespace glimmora::tool {
namespace {

using device::LoadDiagnosis;
using device::LoadFailure;

// The picture being shown, for the warning hook (a plain function pointer).
const std::string* g_picture = nullptr;

void PrintWarning(const wchar_t* text) {
    std::fprintf(stderr, "glimmora-picture: %s: JPEG Image Error (shown, decoding goes on): %s\n",
                 g_picture ? g_picture->c_str() : "?", device::WideToUtf8(text).c_str());
}

std::string Reason(const std::string& picture, const LoadDiagnosis& why, long screenWidth,
                   long screenHeight) {
    switch (why.failure) {
        case LoadFailure::kCannotOpen: {
            // Open it again only to learn why the loader could not.
            std::FILE* file = std::fopen(picture.c_str(), "rb");
            const int error = errno;
            if (file) std::fclose(file);
            return std::string("cannot be opened: ") +
                   (file ? "unknown reason" : std::strerror(error));
        }
        case LoadFailure::kNoPicture: return "holds no picture";
        case LoadFailure::kTooManyPixels:
            return std::to_string(why.pictureWidth) + " x " + std::to_string(why.pictureHeight) +
                   " picture: more pixels than the viewer decodes";
        case LoadFailure::kDecodeError:
            return "not a JPEG picture the viewer can decode: " + why.decoderMessage;
        case LoadFailure::kNoBitmap:
            return std::to_string(why.pictureWidth) + " x " + std::to_string(why.pictureHeight) +
                   " picture would become a " + std::to_string(why.bitmapWidth) + " x " +
                   std::to_string(why.bitmapHeight) + " bitmap on a " +
                   std::to_string(screenWidth) + " x " + std::to_string(screenHeight) +
                   " screen, which cannot be made";
        case LoadFailure::kMissingRows: return "the decoder stopped before the last row";
        case LoadFailure::kOutOfMemory: return "out of memory";
        case LoadFailure::kNone:
        default: return "cannot be loaded";
    }
}

int Run(const std::vector<std::string>& args) {
    long width = 0, height = 0, orientation = 0, fit = 0;
    if (args.size() != 6 || !ParseInt(args[1], 1, 65535, width) ||
        !ParseInt(args[2], 1, 65535, height) || !ParseInt(args[3], 0, 4, orientation) ||
        !ParseInt(args[4], 0, 1, fit)) {
        std::fprintf(stderr,
                     "usage: glimmora-picture show PICTURE.jpg SCREEN_WIDTH SCREEN_HEIGHT "
                     "ORIENTATION(0-4) FIT(0|1) OUT.bmp\n"
                     "  SCREEN_WIDTH, SCREEN_HEIGHT: 1-65535 pixels\n"
                     "  ORIENTATION: 0 Normal, 1 Auto (Left), 2 Auto (Right), 3 Rotate Left, "
                     "4 Rotate Right\n"
                     "  FIT: 1 for \"Fit to Screen\"\n");
        return kExitUsage;
    }
    const std::string& picture = args[0];
    const std::string& output = args[5];

    g_picture = &picture;
    const device::JpegMessageHook previous = device::SetJpegMessageHook(&PrintWarning);
    device::DeviceBitmap bitmap;
    LoadDiagnosis why;
    const std::wstring path = device::Utf8ToWide(picture);
    const bool loaded = device::LoadPicture(bitmap, path.c_str(), static_cast<std::int32_t>(width),
                                            static_cast<std::int32_t>(height),
                                            static_cast<std::uint8_t>(orientation), fit != 0, &why);
    device::SetJpegMessageHook(previous);
    g_picture = nullptr;
    if (!loaded) {
        return Fail(picture, Reason(picture, why, width, height));
    }

    std::string error;
    if (!WriteBmp24(
            output, bitmap.Width(), bitmap.Height(),
            [&bitmap](int y) -> const std::uint8_t* { return bitmap.RowFromTop(y); }, error)) {
        return Fail(output, "cannot write: " + error);
    }
    return kExitOk;
}

CommandRegistration reg({"show",
                         "PICTURE.jpg SCREEN_WIDTH SCREEN_HEIGHT ORIENTATION(0-4) FIT(0|1) OUT.bmp",
                         "writes the bitmap the handheld viewer shows for PICTURE on that screen "
                         "(24-bit BMP); ORIENTATION 0 Normal, 1 Auto (Left), 2 Auto (Right), "
                         "3 Rotate Left, 4 Rotate Right; FIT 1 for Fit to Screen",
                         &Run});

}  // namespace
}  // namespace glimmora::tool

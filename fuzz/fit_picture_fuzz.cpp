// The desktop's fitting of a picture file for the handheld and the encoding of the result:
// any bytes, for the screen the first input byte chooses.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "desktop/pictures/jpeg_encode.h"
#include "desktop/pictures/picture_fit.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/picture_budget.h"
#include "fuzz/picture_settings.h"
#include "tests/support/test_jpeg.h"

namespace {

void Check(bool holds, const char* what) { glimmora::fuzz::Require(holds, "fit picture", what); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const glimmora::fuzz::CpuLimit limit;
    using namespace glimmora::desktop;
    if (size < 1 || !glimmora::fuzz::WorthDecoding(data + 1, size - 1)) return 0;
    static glimmora::fuzz::InputFile file;
    const glimmora::fuzz::Screen screen = glimmora::fuzz::SettingsFrom(data[0]).screen;
    FitReport report;
    const std::optional<Bitmap24> fitted =
        FitPicture(file.Write(data + 1, size - 1), screen.width, screen.height, &report);
    if (!fitted) {
        Check(!report.reason.empty(), "no picture, and no reason given");
        return 0;
    }
    Check(fitted->width > 0 && fitted->height > 0 &&
              fitted->pixels.size() == fitted->stride * static_cast<std::size_t>(fitted->height),
          "the fitted bitmap is malformed");
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(*fitted);
    Check(!jpeg.empty(), "a fitted picture could not be encoded");
    // What is sent must be a picture of the fitted size (the helper aborts on a bad file).
    const glimmora::test::Picture sent = glimmora::test::DecodeJpeg(jpeg, glimmora::test::kBgr);
    Check(sent.width == fitted->width && sent.height == fitted->height && sent.components == 3,
          "the encoded picture is not the fitted one");
    return 0;
}

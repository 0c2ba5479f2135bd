// The handheld's load of a picture file: any bytes, at the screen sizes, orientations and fit
// settings the first input byte chooses.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "device/pictures/device_bitmap.h"
#include "device/pictures/jpeg_message.h"
#include "device/pictures/picture_loader.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/picture_budget.h"
#include "fuzz/picture_settings.h"

namespace {

int g_messages = 0;
void CountMessage(const wchar_t*) { ++g_messages; }

void Check(bool holds, const char* what) { glimmora::fuzz::Require(holds, "load picture", what); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const glimmora::fuzz::CpuLimit limit;
    using namespace glimmora::device;
    if (size < 1 || !glimmora::fuzz::WorthDecoding(data + 1, size - 1)) return 0;
    static glimmora::fuzz::InputFile file;
    static const JpegMessageHook previous = SetJpegMessageHook(&CountMessage);
    (void)previous;
    const glimmora::fuzz::PictureSettings settings = glimmora::fuzz::SettingsFrom(data[0]);
    const std::string& path = file.Write(data + 1, size - 1);
    const std::wstring wide(path.begin(), path.end());

    g_messages = 0;
    DeviceBitmap bitmap;
    LoadDiagnosis why;
    const bool ok = LoadPicture(bitmap, wide.c_str(), settings.screen.width, settings.screen.height,
                                settings.orientation, settings.fitToScreen, &why);
    Check(g_messages <= 1, "more than one decoder message in one load");
    Check(ok == (why.failure == LoadFailure::kNone), "result and diagnosis disagree");
    if (ok) {
        Check(bitmap.bitmap != nullptr && bitmap.bits != nullptr, "a loaded picture has no bitmap");
        Check(bitmap.Width() == why.bitmapWidth && bitmap.Height() == why.bitmapHeight,
              "the bitmap is not the size the load planned");
        Check(std::uint64_t(bitmap.Width()) * std::uint64_t(bitmap.Height()) <=
                  std::uint64_t(why.pictureWidth) * std::uint64_t(why.pictureHeight),
              "a picture was enlarged");
    }
    bitmap.Release();
    return 0;
}

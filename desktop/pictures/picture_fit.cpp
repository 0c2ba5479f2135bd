#include "desktop/pictures/picture_fit.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include "common/jpeg_errors.h"
#include "desktop/pictures/tent_resampler.h"
#include "handoff/picture_limits.h"

namespace glimmora::desktop {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The two functions below make every libjpeg call of a decode. They run guarded, so they
// hold only plain data: nothing with a destructor may be alive on the way from the library
// back to the guard. Any warning counts against the picture: the decode is marked, and one
// before the first row fails it.

// Header and start of decompression. False when the file is no JPEG picture, announces too
// many pixels, uses a colour model the desktop does not handle, or the decoder complained
// before the first row.
bool StartDecode(jpeg_decompress_struct* cinfo, const JpegErrors* errors, std::FILE* file,
                 const char** reason) {
    jpeg_create_decompress(cinfo);
    jpeg_stdio_src(cinfo, file);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        *reason = "not a JPEG picture";
        return false;
    }
    // Before the decoder starts: a header alone can announce billions of filler pixels.
    if (handoff::HasTooManyPixels(cinfo->image_width, cinfo->image_height)) {
        *reason = "announces more than 500 million pixels";
        return false;
    }
    // Colour arrives in bitmap order (blue, green, red) straight from the decoder.
    if (cinfo->out_color_space == JCS_RGB) {
        cinfo->out_color_space = JCS_EXT_BGR;
    } else if (cinfo->out_color_space != JCS_GRAYSCALE) {
        // CMYK and YCCK pictures would come out as four bytes a pixel.
        *reason = "four-colour (CMYK) pictures are not supported";
        return false;
    }
    jpeg_start_decompress(cinfo);
    return !errors->warned;
}

// Reads every remaining scanline into the resampler (ResamplePicture's row loop).
// False on a read that returns no line.
bool ResamplePicture(jpeg_decompress_struct* cinfo, TentResampler* resampler) {
    const JDIMENSION rowBytes =
        cinfo->output_width * static_cast<JDIMENSION>(cinfo->output_components);
    JSAMPARRAY line = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                  JPOOL_IMAGE, rowBytes, 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        if (jpeg_read_scanlines(cinfo, line, 1) != 1) return false;
        resampler->PushRow(line[0]);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

PictureSize FitSize(int width, int height, int screenWidth, int screenHeight) {
    PictureSize out{width, height};
    if (screenWidth <= 0 || screenHeight <= 0) return out;
    // Division first, then the product, truncated toward zero: the sizes users already have
    // on their handhelds come from exactly this arithmetic.
    if (screenHeight < screenWidth) {
        if (width > screenWidth) {
            out.width = screenWidth;
            out.height = static_cast<int>(static_cast<double>(screenWidth) / width * height);
        }
    } else if (height > screenHeight) {
        out.height = screenHeight;
        out.width = static_cast<int>(static_cast<double>(screenHeight) / height * width);
    }
    return out;
}

std::optional<Bitmap24> FitPicture(const std::string& path, int screenWidth, int screenHeight,
                                   FitReport* report) {
    // Per decode rather than process-wide, so two pictures decoded at once never see each
    // other's failures. Nothing is printed; the picture is only marked.
    JpegErrors errors;
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = UseJpegErrors(errors);

    // Fills the caller's report however the function is left.
    struct Reporter {
        Reporter(const JpegErrors* e, FitReport* r) : errors(e), report(r) {}
        ~Reporter() {
            if (!report) return;
            report->decodeWarned = errors->warned || errors->fatal;
            report->reason = reason ? reason : errors->FirstComplaint();
        }
        Reporter(const Reporter&) = delete;
        Reporter& operator=(const Reporter&) = delete;
        std::nullopt_t Fail(const char* why) {
            reason = why;
            return std::nullopt;
        }

        const JpegErrors* errors;
        FitReport* report;
        const char* reason = nullptr;
    } reporter(&errors, report);
    if (report) report->source = PictureSize{};

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return reporter.Fail("cannot be opened");
    // Declared after the file, so the decompressor (which reads it) is destroyed first.
    const DecompressorOwner owner(&cinfo);
    const char* startFailure = nullptr;
    bool started = false;
    const auto start = [&] { started = StartDecode(&cinfo, &errors, file.get(), &startFailure); };
    if (!JpegGuarded(errors, start) || !started) {
        // Without a reason of its own, the library's message (kept in errors) says why.
        return startFailure ? reporter.Fail(startFailure) : std::nullopt;
    }

    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    if (report) report->source = PictureSize{width, height};
    const PictureSize out = FitSize(width, height, screenWidth, screenHeight);
    // An elongated picture can reduce to no rows or columns at all; there is nothing to send.
    if (out.width <= 0 || out.height <= 0) {
        return reporter.Fail("reduces to no rows or columns for that screen");
    }

    std::unique_ptr<TentResampler> resampler;
    try {
        resampler = std::make_unique<TentResampler>(width, height, cinfo.output_components,
                                                    out.width, out.height);
    } catch (const std::exception&) {
        return reporter.Fail("too large to hold in memory");
    }
    bool resampled = false;
    const auto resample = [&] { resampled = ResamplePicture(&cinfo, resampler.get()); };
    if (!JpegGuarded(errors, resample) || !resampled) return std::nullopt;
    if (!resampler->Complete()) return reporter.Fail("the decoder gave fewer rows than announced");
    return resampler->TakeBitmap();
}

}  // namespace glimmora::desktop

#include "device/pictures/picture_loader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>

#include "common/jpeg_errors.h"
#include "device/pictures/jpeg_message.h"
#include "handoff/picture_limits.h"
#include "device/pictures/picture_file.h"
#include "device/pictures/picture_fit.h"
#include "device/pictures/picture_readers.h"
#include "device/pictures/scanline_source.h"

namespace glimmora::device {

namespace {

// Decoder warnings go to the viewer's message hook, as wide text.
void ShowWarning(const char* text) {
    const std::size_t length = std::strlen(text) + 1;
    wchar_t wide[JMSG_LENGTH_MAX];
    const std::size_t converted = std::mbstowcs(wide, text, length);
    if (converted == static_cast<std::size_t>(-1) || converted == 0) return;
    wide[JMSG_LENGTH_MAX - 1] = L'\0';
    CurrentJpegMessageHook()(wide);
}

class JpegScanlineSource : public ScanlineSource {
  public:
    JpegScanlineSource(jpeg_decompress_struct& cinfo, JpegErrors& errors, JSAMPARRAY row)
        : cinfo_(cinfo), errors_(errors), row_(row) {}

    std::int32_t Width() const override { return static_cast<std::int32_t>(cinfo_.output_width); }
    std::int32_t Height() const override { return static_cast<std::int32_t>(cinfo_.output_height); }
    int Components() const override { return cinfo_.output_components; }
    std::int32_t RowsRead() const override {
        return static_cast<std::int32_t>(cinfo_.output_scanline);
    }
    const std::uint8_t* NextRow(std::uint8_t* into) override {
        JSAMPROW target[1] = {into ? into : row_[0]};
        JDIMENSION got = 0;
        if (!JpegGuarded(errors_, [&] { got = jpeg_read_scanlines(&cinfo_, target, 1); }))
            return nullptr;
        return got == 1 ? target[0] : nullptr;
    }

  private:
    jpeg_decompress_struct& cinfo_;
    JpegErrors& errors_;
    JSAMPARRAY row_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool LoadPicture(DeviceBitmap& bitmap, const wchar_t* path, std::int32_t screenWidth,
                 std::int32_t screenHeight, std::uint8_t requestedOrientation, bool fitToScreen,
                 LoadDiagnosis* diagnosis) {
    LoadDiagnosis unused;
    LoadDiagnosis& why = diagnosis ? *diagnosis : unused;
    why = LoadDiagnosis{};
    bitmap.orientation = kNormal;

    const std::unique_ptr<std::FILE, FileCloser> file(OpenPictureFile(path));
    if (!file) {
        why.failure = LoadFailure::kCannotOpen;
        return false;
    }

    // Zeroed so that destroying it is harmless even if creation itself fails.
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    JpegErrors errors;
    cinfo.err = UseJpegErrors(errors, ShowWarning);
    // Declared after the file, so the decompressor (which reads it) is destroyed first.
    const DecompressorOwner owner(&cinfo);

    // Records a fatal decoder error as the reason and returns false.
    const auto decodeError = [&] {
        why.failure = LoadFailure::kDecodeError;
        why.decoderMessage = errors.fatalText;
        return false;
    };
    if (!JpegGuarded(errors, [&] {
            jpeg_create_decompress(&cinfo);
            jpeg_stdio_src(&cinfo, file.get());
        }))
        return decodeError();

    int header = 0;
    if (!JpegGuarded(errors, [&] { header = jpeg_read_header(&cinfo, TRUE); }))
        return decodeError();
    if (header != JPEG_HEADER_OK) {
        why.failure = LoadFailure::kNoPicture;
        return false;
    }
    // Refused before the decoder starts: a progressive file would already be read whole
    // into coefficient buffers of the announced size there.
    if (handoff::HasTooManyPixels(cinfo.image_width, cinfo.image_height)) {
        why.failure = LoadFailure::kTooManyPixels;
        why.pictureWidth = static_cast<std::int32_t>(cinfo.image_width);
        why.pictureHeight = static_cast<std::int32_t>(cinfo.image_height);
        return false;
    }

    // Every parameter stays as the header chose it, except that colour comes out blue,
    // green, red: the bitmap's own order, so colour rows are copied unchanged.
    if (cinfo.out_color_space == JCS_RGB) cinfo.out_color_space = JCS_EXT_BGR;
    if (!JpegGuarded(errors, [&] { jpeg_start_decompress(&cinfo); })) return decodeError();

    const std::uint8_t orientation = ResolveOrientation(
        requestedOrientation, screenWidth, screenHeight, cinfo.output_width, cinfo.output_height);
    const TargetSize target =
        FitPictureSize(static_cast<std::int32_t>(cinfo.output_width),
                       static_cast<std::int32_t>(cinfo.output_height), screenWidth, screenHeight,
                       IsTurned(orientation), fitToScreen);
    why.pictureWidth = static_cast<std::int32_t>(cinfo.output_width);
    why.pictureHeight = static_cast<std::int32_t>(cinfo.output_height);
    why.bitmapWidth = IsTurned(orientation) ? target.height : target.width;
    why.bitmapHeight = IsTurned(orientation) ? target.width : target.height;

    JSAMPARRAY row = nullptr;
    if (!JpegGuarded(errors, [&] {
            row = (*cinfo.mem->alloc_sarray)(
                reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                cinfo.output_width * static_cast<JDIMENSION>(cinfo.output_components), 1);
        }))
        return decodeError();

    JpegScanlineSource source(cinfo, errors, row);
    bool ok = false;
    bool outOfMemory = false;
    try {
        ok = FillBitmap(source, bitmap, orientation, target);
    } catch (const std::exception&) {
        outOfMemory = true;  // a table or row buffer could not be allocated
    }
    if (!ok) {
        why.failure = outOfMemory      ? LoadFailure::kOutOfMemory
                      : errors.fatal   ? LoadFailure::kDecodeError
                      : !bitmap.bitmap ? LoadFailure::kNoBitmap
                                       : LoadFailure::kMissingRows;
        if (errors.fatal) why.decoderMessage = errors.fatalText;
    }

    // Finishing an incomplete decode is itself a fatal error (the reason stays the one
    // found above); after a complete read a fatal error here is a damaged file.
    JpegGuarded(errors, [&] { jpeg_finish_decompress(&cinfo); });
    if (errors.fatal) return ok ? decodeError() : false;
    if (ok) bitmap.orientation = orientation;
    return ok;
}

}  // namespace glimmora::device

#include "device/picture_loader.h"

// jpeglib.h needs FILE and size_t declared first.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>

#include <jpeglib.h>

#include "device/jpeg_message.h"
#include "handoff/picture_limits.h"
#include "device/picture_file.h"
#include "device/picture_fit.h"
#include "device/picture_readers.h"
#include "device/scanline_source.h"

namespace glimmora::device {

namespace {

struct JpegErrorManager {
    jpeg_error_mgr pub;  // first, so the library's err pointer is also ours
    std::jmp_buf jump;
    bool fatal;
    char fatalMessage[JMSG_LENGTH_MAX];  // kept for diagnosis only; never shown
};

JpegErrorManager* ManagerOf(j_common_ptr cinfo) {
    return reinterpret_cast<JpegErrorManager*>(cinfo->err);
}

// The library's default would end the process. Jump back to the guarded call instead; from
// then on only jpeg_destroy_decompress may touch the decompressor.
void OnFatalError(j_common_ptr cinfo) {
    JpegErrorManager* manager = ManagerOf(cinfo);
    manager->fatal = true;
    (*cinfo->err->format_message)(cinfo, manager->fatalMessage);
    std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    const std::size_t length = std::strlen(text) + 1;
    wchar_t wide[JMSG_LENGTH_MAX];
    const std::size_t converted = std::mbstowcs(wide, text, length);
    if (converted == static_cast<std::size_t>(-1) || converted == 0) return;
    wide[JMSG_LENGTH_MAX - 1] = L'\0';
    CurrentJpegMessageHook()(wide);
}

// Runs one library call with the fatal-error jump armed. Only this frame and the library's
// own frames lie between setjmp and longjmp, so no C++ destructor is ever skipped.
template <typename Call>
bool Guarded(JpegErrorManager& manager, Call&& call) {
    if (manager.fatal) return false;
    if (setjmp(manager.jump) != 0) return false;
    call();
    return true;
}

class JpegScanlineSource : public ScanlineSource {
public:
    JpegScanlineSource(jpeg_decompress_struct& cinfo, JpegErrorManager& manager, JSAMPARRAY row)
        : cinfo_(cinfo), manager_(manager), row_(row) {}

    std::int32_t Width() const override { return static_cast<std::int32_t>(cinfo_.output_width); }
    std::int32_t Height() const override {
        return static_cast<std::int32_t>(cinfo_.output_height);
    }
    int Components() const override { return cinfo_.output_components; }
    std::int32_t RowsRead() const override {
        return static_cast<std::int32_t>(cinfo_.output_scanline);
    }
    const std::uint8_t* NextRow(std::uint8_t* into) override {
        JSAMPROW target[1] = {into ? into : row_[0]};
        JDIMENSION got = 0;
        if (!Guarded(manager_, [&] { got = jpeg_read_scanlines(&cinfo_, target, 1); })) return nullptr;
        return got == 1 ? target[0] : nullptr;
    }

private:
    jpeg_decompress_struct& cinfo_;
    JpegErrorManager& manager_;
    JSAMPARRAY row_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Destroys the decompressor before the file it reads is closed (declared after the file).
struct DecompressorOwner {
    jpeg_decompress_struct* cinfo;
    ~DecompressorOwner() { jpeg_destroy_decompress(cinfo); }
};

}  // namespace

bool LoadPicture(DeviceBitmap& bitmap, const wchar_t* path, std::int32_t screenWidth,
                 std::int32_t screenHeight, std::uint8_t requestedOrientation,
                 bool fitToScreen, LoadDiagnosis* diagnosis) {
    LoadDiagnosis unused;
    LoadDiagnosis& why = diagnosis ? *diagnosis : unused;
    why = LoadDiagnosis{};
    bitmap.orientation = kNormal;

    JpegErrorManager manager;
    std::memset(&manager, 0, sizeof manager);
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = OnFatalError;
    manager.pub.output_message = OnMessage;
    manager.pub.trace_level = 0;

    const std::unique_ptr<std::FILE, FileCloser> file(OpenPictureFile(path));
    if (!file) {
        why.failure = LoadFailure::kCannotOpen;
        return false;
    }

    // Zeroed so that destroying it is harmless even if creation itself fails.
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = &manager.pub;
    const DecompressorOwner owner{&cinfo};

    // Records a fatal decoder error as the reason and returns false.
    const auto decodeError = [&] {
        why.failure = LoadFailure::kDecodeError;
        why.decoderMessage = manager.fatalMessage;
        return false;
    };
    if (!Guarded(manager, [&] {
            jpeg_create_decompress(&cinfo);
            jpeg_stdio_src(&cinfo, file.get());
        }))
        return decodeError();

    int header = 0;
    if (!Guarded(manager, [&] { header = jpeg_read_header(&cinfo, TRUE); })) return decodeError();
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
    if (!Guarded(manager, [&] { jpeg_start_decompress(&cinfo); })) return decodeError();

    const std::uint8_t orientation =
        ResolveOrientation(requestedOrientation, screenWidth, screenHeight, cinfo.output_width,
                           cinfo.output_height);
    const TargetSize target = FitPictureSize(
        static_cast<std::int32_t>(cinfo.output_width), static_cast<std::int32_t>(cinfo.output_height),
        screenWidth, screenHeight, IsTurned(orientation), fitToScreen);
    why.pictureWidth = static_cast<std::int32_t>(cinfo.output_width);
    why.pictureHeight = static_cast<std::int32_t>(cinfo.output_height);
    why.bitmapWidth = IsTurned(orientation) ? target.height : target.width;
    why.bitmapHeight = IsTurned(orientation) ? target.width : target.height;

    JSAMPARRAY row = nullptr;
    if (!Guarded(manager, [&] {
            row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                             cinfo.output_width *
                                                 static_cast<JDIMENSION>(cinfo.output_components),
                                             1);
        }))
        return decodeError();

    JpegScanlineSource source(cinfo, manager, row);
    bool ok = false;
    bool outOfMemory = false;
    try {
        ok = FillBitmap(source, bitmap, orientation, target);
    } catch (const std::exception&) {
        outOfMemory = true;  // a table or row buffer could not be allocated
    }
    if (!ok) {
        why.failure = outOfMemory      ? LoadFailure::kOutOfMemory
                      : manager.fatal  ? LoadFailure::kDecodeError
                      : !bitmap.bitmap ? LoadFailure::kNoBitmap
                                       : LoadFailure::kMissingRows;
        if (manager.fatal) why.decoderMessage = manager.fatalMessage;
    }

    // Finishing an incomplete decode is itself a fatal error (the reason stays the one
    // found above); after a complete read a fatal error here is a damaged file.
    Guarded(manager, [&] { jpeg_finish_decompress(&cinfo); });
    if (manager.fatal) return ok ? decodeError() : false;
    if (ok) bitmap.orientation = orientation;
    return ok;
}

}  // namespace glimmora::device

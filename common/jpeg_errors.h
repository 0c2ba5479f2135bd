// The one libjpeg error manager of the tree, and owners for the library's codec objects.
//
// The library's default ends the process on a fatal error. This manager records the error's
// text and jumps back to the guarded call that was running; from then on only the codec's
// destroy call may touch it. Warnings are recorded too (the first one's text is kept) and,
// where a sink is given, passed on as text.
//
// The shape is the library's own example's: the manager carries its own jump buffer, the
// frame that calls setjmp (JpegGuarded) holds only plain data, and everything with a
// destructor lives in its callers, since a longjmp skips destructors. So the body handed to
// JpegGuarded makes library calls and touches plain data only.
#pragma once

// jpeglib.h needs FILE and size_t declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace glimmora {

// Receives a warning's text, e.g. "Premature end of JPEG file".
using JpegWarningSink = void (*)(const char* text);

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so the library's err pointer is also ours
    std::jmp_buf jump;
    JpegWarningSink warningSink;  // null: warnings are only recorded
    bool fatal;                   // a fatal error ended a guarded call
    bool warned;                  // the library reported a warning
    char fatalText[JMSG_LENGTH_MAX];
    char warningText[JMSG_LENGTH_MAX];  // the first warning's

    // The first complaint, a warning or the fatal error; "" when there was none.
    const char* FirstComplaint() const { return warned ? warningText : fatalText; }
};

namespace detail {

inline JpegErrors* JpegErrorsOf(j_common_ptr cinfo) {
    return reinterpret_cast<JpegErrors*>(cinfo->err);
}

// Must not return into the library: jumps back to the running JpegGuarded.
inline void JumpBackOnFatalError(j_common_ptr cinfo) {
    JpegErrors* errors = JpegErrorsOf(cinfo);
    errors->fatal = true;
    (*cinfo->err->format_message)(cinfo, errors->fatalText);
    std::longjmp(errors->jump, 1);
}

// The library calls this for the first warning of a run (it only counts later ones).
inline void RecordWarning(j_common_ptr cinfo) {
    JpegErrors* errors = JpegErrorsOf(cinfo);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    if (!errors->warned) std::memcpy(errors->warningText, text, sizeof text);
    errors->warned = true;
    if (errors->warningSink) errors->warningSink(text);
}

}  // namespace detail

// Clears `errors` for one codec object and returns what goes into the codec's `err` field.
inline jpeg_error_mgr* UseJpegErrors(JpegErrors& errors, JpegWarningSink sink = nullptr) {
    std::memset(&errors, 0, sizeof errors);
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = detail::JumpBackOnFatalError;
    errors.manager.output_message = detail::RecordWarning;
    errors.warningSink = sink;
    return &errors.manager;
}

// Runs `call` with the fatal-error jump armed. False when a fatal error ended it, or ended an
// earlier call on the same codec (then `call` does not run at all).
template <typename Call>
bool JpegGuarded(JpegErrors& errors, Call&& call) {
    if (errors.fatal) return false;
    if (setjmp(errors.jump) != 0) return false;
    call();
    return true;
}

// Destroys a codec object however its use ended; the library's destroy call copes with a
// half-set-up or never-created (zeroed) object. Declared after the file a codec reads or
// writes, so that the codec goes first.
template <typename Codec>
class JpegCodecOwner {
  public:
    explicit JpegCodecOwner(Codec* cinfo) : cinfo_(cinfo) {}
    ~JpegCodecOwner() { jpeg_destroy(reinterpret_cast<j_common_ptr>(cinfo_)); }
    JpegCodecOwner(const JpegCodecOwner&) = delete;
    JpegCodecOwner& operator=(const JpegCodecOwner&) = delete;

  private:
    Codec* cinfo_;
};

using DecompressorOwner = JpegCodecOwner<jpeg_decompress_struct>;
using CompressorOwner = JpegCodecOwner<jpeg_compress_struct>;

}  // namespace glimmora

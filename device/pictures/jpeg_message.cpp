#include "device/pictures/jpeg_message.h"

#include <atomic>

namespace glimmora::device {

namespace {
std::atomic<JpegMessageHook> g_hook{&ShowJpegImageError};
}

JpegMessageHook SetJpegMessageHook(JpegMessageHook hook) {
    return g_hook.exchange(hook ? hook : &ShowJpegImageError);
}

JpegMessageHook CurrentJpegMessageHook() { return g_hook.load(); }

}  // namespace glimmora::device

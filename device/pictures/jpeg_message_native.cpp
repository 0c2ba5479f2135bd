#include <cstdio>

#include "device/pictures/jpeg_message.h"

namespace glimmora::device {

void ShowJpegImageError(const wchar_t* text) {
    std::fprintf(stderr, "JPEG Image Error: %ls\n", text);
}

}  // namespace glimmora::device

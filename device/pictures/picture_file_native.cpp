#include <string>

#include "device/pictures/picture_file.h"
#include "device/pictures/utf8.h"

namespace glimmora::device {

std::FILE* OpenPictureFile(const wchar_t* path) {
    return std::fopen(WideToUtf8(path).c_str(), "rb");
}

}  // namespace glimmora::device

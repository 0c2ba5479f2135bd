#include <cstdio>

#include "device/pictures/picture_file.h"

namespace glimmora::device {

std::FILE* OpenPictureFile(const wchar_t* path) { return ::_wfopen(path, L"rb"); }

}  // namespace glimmora::device
